// Compares the events a search listed with the events written to the store, field by field.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

#include "Report.h"
#include "StoreLayout.h"
#include "rfs/rfs_types.h"

namespace storebench {

// What identifies a listed event and where the reader will look for its data.
struct EventKey {
    rfs::PackedTime start = 0;
    uint8_t chn = 0;
    rfs::PackedTime end = 0;
    uint32_t recordId = 0;
    int32_t eventIdx = 0;
    uint32_t recType = 0;
    uint32_t dataStart = 0;
    uint32_t dataLen = 0;
    uint32_t kfTop = 0;
    uint32_t kfLow = 0;

    friend auto operator<=>(const EventKey&, const EventKey&) = default;
};

EventKey keyOf(const rfs_event_t& listed);

// The written events of `track` (every track when -1) that start in [from, to] (epoch seconds).
std::vector<EventKey> writtenEvents(const StoreLayout& layout, int track, int64_t from, int64_t to);

// Equal as sets; the detail names the counts and the first event found on one side only.
Check compareListing(std::string name, std::vector<EventKey> written, std::vector<EventKey> listed);

}  // namespace storebench
