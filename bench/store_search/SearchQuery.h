// Search parameters over the store's tracks and the per-channel lists a search handle holds.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "StoreShape.h"
#include "rfs/rfs_types.h"

namespace storebench {

struct ChannelBits {
    std::array<uint8_t, kTracks / 8> bytes{};

    static ChannelBits all();
    static ChannelBits one(int track);
};

// Recordings of every record type over [from, to] (epoch seconds); `bits` must outlive the result.
rfs_find_param_t eventQuery(uint8_t searchType, const ChannelBits& bits, int64_t from, int64_t to);

// Every event in the track slots of a per-channel search; empty when a slot cannot be read.
std::vector<rfs_event_t> listedEvents(int handle);

}  // namespace storebench
