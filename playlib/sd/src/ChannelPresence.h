// Which channels have a recording in a span, on all attached cards.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

constexpr int kChannelBitBytes = 32;

// Sets bit c of channelBits (32 bytes) for every channel c with an event in the span; 0, -12 out of
// memory, -13 when an index copy cannot be read.
int32_t findChannelsWithRecordings(uint8_t* channelBits, const rfs_time_t& start, const rfs_time_t& end);

}  // namespace kvrfs
