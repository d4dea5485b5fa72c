// Positioning a read handle on the key frame nearest a time inside a listed event.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

// Where the event record handed to a seek comes from: a search handle's list, which must still hold
// it, or the partition's index area.
enum class EventSource { SearchList, IndexArea };

// direction 1: the key frame at or before the time; other values: at or after it.
// endAtLastKeyFrame: reading stops after the event's last key frame.
int32_t timeSeek(int handle, const rfs_time_t* seekTime, int direction, const rfs_event_t* event, int endAtLastKeyFrame,
                 EventSource source = EventSource::SearchList);

}  // namespace kvrfs
