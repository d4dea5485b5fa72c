// Where the partitions of the benchmark disk lie: equal partitions, each with its four index copies
// ahead of its data files, as many 256 MiB files as the disk holds.
#pragma once

#include <cstdint>

#include "rfs/DiskParam.h"

namespace storebench {

struct DiskGeometry {
    rfs::disk_param_t param{};  // without active partition and check sum
    uint32_t filesPerPartition = 0;
};

DiskGeometry diskGeometry();

}  // namespace storebench
