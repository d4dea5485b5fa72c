// The SD card's 64-byte event record and the reader's own, in both directions, and the converted lists
// handed to callers (they live until the search is stopped).
#pragma once

#include "KVPlaySD.h"

namespace kvrfs {

rfs_sd_event_t toSdEvent(const rfs_event_t& event);
rfs_event_t fromSdEvent(const rfs_sd_event_t& event);

// The slot's list of the handle, converted; kept until releaseSdEventLists(handle).
rfs_sd_event_list_t sdEventList(int handle, int slot, const rfs_event_list_t& list);
void releaseSdEventLists(int handle);

}  // namespace kvrfs
