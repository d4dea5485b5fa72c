// Opens a data file for reading, with the position of its first byte on the medium: the drive in raw
// mode (at the file's offset), the file itself in directory mode (at 0).
#pragma once

#include <cstdint>

#include "DiskRegistry.h"
#include "StoreFile.h"

namespace kvrfs {

struct OpenedDataFile {
    StoreFile file;
    uint64_t base = 0;
};

uint64_t dataFileBase(const DiskRecord& disk, int partition, uint32_t fileIndex);
OpenedDataFile openDataFileOf(const DiskRecord& disk, int partition, uint32_t fileIndex);

}  // namespace kvrfs
