// Search type 1 on an SD card: which record types were recorded in each half hour of a day.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

constexpr int kTimelineSlots = 48;

// Fills slots (48 entries); 0, or a negative search result.
int32_t runDayTimeline(const rfs_find_param_t& param, uint32_t slots[kTimelineSlots]);

}  // namespace kvrfs
