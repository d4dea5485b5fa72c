// Reads and writes of a partition's index structures through its index copies. A copy that fails is
// replaced by rebuilding from a good one (IndexRecovery.h), so the parameter block's valid bits may
// change under a read or a write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "StoreFile.h"
#include "rfs/DiskParam.h"

namespace kvrfs {

struct IndexLocation {
    AccessMode mode;
    const std::string& path;
    rfs::disk_param_t& param;  // the valid bits change when a copy is given up
    int partition;
};

// Index copy `copy` of a partition, with the offset at which its index area starts.
struct OpenedIndexCopy {
    StoreFile file;
    uint64_t areaOffset = 0;
};
OpenedIndexCopy openIndexCopy(AccessMode mode, const std::string& path, const rfs::disk_param_t& param, int partition,
                              int copy, OpenFor access);

// Reads `length` bytes at `position` inside the partition's index area from its primary copy, falling
// over to the next copy when it fails.
bool readIndex(const IndexLocation& where, uint64_t position, void* buffer, std::size_t length);

// Writes to the primary and then the secondary copy, falling over when either fails.
bool writeIndex(const IndexLocation& where, uint64_t position, const void* buffer, std::size_t length);

// Writes to the primary copy alone, as the partition state repair does.
bool writePrimaryIndex(const IndexLocation& where, uint64_t position, const void* buffer, std::size_t length);

}  // namespace kvrfs
