// The search parameter dump and the summary of attached disks, written to the message line.
#pragma once

#include "rfs/rfs_types.h"

namespace kvrfs {

void dumpSearchParameters(const rfs_find_param_t& param);
void dumpDiskSummary();

}  // namespace kvrfs
