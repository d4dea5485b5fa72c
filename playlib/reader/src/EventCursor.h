// Moving through a slot's sorted list: seeking to a time, and current, previous and next event.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

int32_t seekEvent(int handle, int slot, const rfs_time_t* seekStart, const rfs_time_t* seekEnd, int mode);

enum class CursorMove { Current, Previous, Next };
int32_t moveCursor(int handle, int slot, CursorMove move, rfs_event_t* out);

}  // namespace kvrfs
