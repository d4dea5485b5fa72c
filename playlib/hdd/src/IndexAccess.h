// Reads and writes of a partition's index structures through its index copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "StoreFile.h"
#include "rfs/DiskParam.h"

namespace kvhdd {

struct IndexLocation {
    AccessMode mode;
    const std::string& path;
    const rfs::disk_param_t& param;
    int partition;
};

// Opens index copy `copy` of the partition with `offset` set to where its index area starts.
struct OpenedIndexCopy {
    StoreFile file;
    uint64_t areaOffset = 0;
};
OpenedIndexCopy openIndexCopy(const IndexLocation& where, int copy, OpenFor access);

// Reads `length` bytes at `position` inside the partition's index area from its primary copy.
bool readIndex(const IndexLocation& where, uint64_t position, void* buffer, std::size_t length);

// Writes to the primary copy alone, as the partition state repair does.
bool writePrimaryIndex(const IndexLocation& where, uint64_t position, const void* buffer, std::size_t length);

}  // namespace kvhdd
