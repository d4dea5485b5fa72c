// One partition's index area: the partition record, the file table and each written file's event block.
#pragma once

#include <cstdint>
#include <vector>

#include "rfs/DiskParam.h"
#include "rfssim/DataFileWriter.h"
#include "rfssim/StoreGeometry.h"

namespace rfssim {

struct Extent {
    uint64_t offset = 0;  // from the start of the index area
    std::vector<uint8_t> bytes;
};

// Only the ranges that hold records; the rest of the area stays zero (a hole in a sparse file).
std::vector<Extent> buildIndexArea(const rfs::disk_param_t& param, const DataFileLayout& layout, int partition,
                                   uint32_t fileCount, const std::vector<ClosedDataFile>& closedFiles);

}  // namespace rfssim
