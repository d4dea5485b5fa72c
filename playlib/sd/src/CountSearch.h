// The count search of an SD card (find_mode 4): whole days back from the end time until at least
// `num` events are listed or the earliest recording day is reached.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

constexpr int kMaxCountSearch = 100000;

// A search handle as findStart gives it (out as for search type 2), or a negative result.
int32_t runCountSearch(const rfs_find_param_t& param, void* out, int num);

}  // namespace kvrfs
