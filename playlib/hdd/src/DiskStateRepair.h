// A hard disk that the recorder marked bad is made usable again before it is read.
#pragma once

#include <string>

#include "StoreFile.h"
#include "rfs/DiskParam.h"

namespace kvrfs {

// Resets the disk state and every bad partition state on the medium.
void repairDiskState(int diskId, AccessMode mode, const std::string& path, rfs::disk_param_t& param);

}  // namespace kvrfs
