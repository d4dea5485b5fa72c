// Closing what a recorder left unfinished in a partition it was writing to when it stopped: the data
// file still being written and its last event. The repairs are written back to the medium.
#pragma once

#include "IndexAccess.h"
#include "rfs/IndexRecords.h"

namespace kvrfs {

// info: the partition info as read; its free file count is brought up to date and written back.
// 0, or -1 when a step failed (the medium keeps what was repaired before it).
int repairPartition(const IndexLocation& where, rfs::part_info_t& info);

}  // namespace kvrfs
