// Reading, validating and writing back a store's parameter block.
#pragma once

#include <optional>
#include <string>

#include "StoreFile.h"
#include "rfs/DiskParam.h"

namespace kvrfs {

// The block as stored, unvalidated. Directory mode reads it from the first index file that opens.
std::optional<rfs::disk_param_t> readDiskParam(AccessMode mode, const std::string& path);

// The recorder's acceptance test, plus a partition count that fits the four partition slots.
bool validateDiskParam(const rfs::disk_param_t& param);

// Stores a fresh check sum in `param` and writes all 128 bytes to the drive, or to every index file
// of a directory store. True when at least one copy of the block was written.
bool writeDiskParamBack(AccessMode mode, const std::string& path, rfs::disk_param_t& param);

}  // namespace kvrfs
