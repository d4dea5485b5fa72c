#include "PartitionLoader.h"

#include "PartitionRepair.h"

namespace kvrfs {

int loadPartition(const IndexLocation& where, rfs::part_info_t& info) {
    if (!readIndex(where, 0, &info, sizeof info)) {
        info = rfs::part_info_t{};
        return -1;
    }
    // The recorder was writing here when it stopped: close what it left open. A repair that fails
    // part-way leaves the partition readable as far as it got, and reports the failure.
    if (info.state < 2 && info.active == 1)
        return repairPartition(where, info);
    return 0;
}

}  // namespace kvrfs
