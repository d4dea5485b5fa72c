// The event search: every attached disk, partition and file record, in two passes (normal disks,
// then redundant disks), into a handle's per-slot lists sorted by start time.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

constexpr int kMaxListedEvents = 100000;

// 0, or a negative search result; the handle's lists hold what was found.
int32_t runEventSearch(int handle, const rfs_find_param_t& param);

}  // namespace kvrfs
