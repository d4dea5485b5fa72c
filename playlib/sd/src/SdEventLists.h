// The event lists of a search handle in the card's record form, as handed to callers: they live until
// the search is stopped.
#pragma once

#include "KVPlaySD.h"

namespace kvrfs {

// The slot's list of the handle, converted; kept until releaseSdEventLists(handle).
rfs_sd_event_list_t sdEventList(int handle, int slot, const rfs_event_list_t& list);
void releaseSdEventLists(int handle);

}  // namespace kvrfs
