// A time seek in an event named by its record id and event number, read from the card's index
// instead of a search handle's list.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

int32_t seekIndexedEvent(int handle, const rfs_time_t* seekTime, int direction, uint32_t recordId, uint32_t eventIndex);

}  // namespace kvrfs
