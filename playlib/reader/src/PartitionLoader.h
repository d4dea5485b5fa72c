// Loads a partition's info at attach or probe time, the step where an unfinished partition is closed.
#pragma once

#include "IndexAccess.h"
#include "rfs/IndexRecords.h"

namespace kvrfs {

// 0 when the partition info was read (and the partition made usable); negative otherwise.
int loadPartition(const IndexLocation& where, rfs::part_info_t& info);

}  // namespace kvrfs
