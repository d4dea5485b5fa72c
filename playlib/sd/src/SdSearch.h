// Starting a search on SD cards: the day timeline and the count search besides the searches both
// readers share; event lists go out in the card's record form.
#pragma once

#include <cstdint>

#include "KVPlaySD.h"

namespace kvrfs {

int32_t sdFindStart(const rfs_find_param_t* param, void* out, int num);
int32_t sdFindStop(int handle);
int32_t sdGetEventList(int handle, int slot, rfs_sd_event_list_t* out);

}  // namespace kvrfs
