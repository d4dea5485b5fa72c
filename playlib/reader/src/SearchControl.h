// Starting and stopping searches, and handing out a slot's list.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

int32_t findStart(const rfs_find_param_t* param, void* out);
int32_t findStop(int handle);
int32_t getEventList(int handle, int slot, rfs_event_list_t* out);
// Slot 0 of a picture search holds its pictures; at most 5000 are handed out.
int32_t getPictureList(int handle, int slot, rfs_pic_list_t* out);

}  // namespace kvrfs
