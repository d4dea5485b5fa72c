#include "DiskGeometry.h"

#include "StoreShape.h"
#include "rfs/IndexRecords.h"

namespace storebench {
namespace {

constexpr uint32_t kFileTableOffset = 4096;
constexpr uint64_t kFirstPartition = 4 * kMiB;  // the parameter block lives below
constexpr uint32_t kSwitchCount = 1;

constexpr uint64_t alignUp(uint64_t value, uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

rfs::disk_param_t paramFor(uint32_t files) {
    rfs::disk_param_t p{};
    p.magic = rfs::kDiskMagic;
    p.total_size = static_cast<uint32_t>(kDiskBytes / kMiB);
    p.part_count = kPartitions;
    p.fs_type = 3;
    p.version_lo = rfs::kVersionLo;
    p.version_hi = rfs::kVersionHi;
    p.file_table_offset = kFileTableOffset;
    p.event_table_offset =
        static_cast<uint32_t>(alignUp(kFileTableOffset + files * sizeof(rfs::index_file_info), 4096));
    p.index_size = static_cast<uint32_t>(
        alignUp(p.event_table_offset + uint64_t{files} * kEventsPerFile * sizeof(rfs::index_event_info), kMiB));
    p.switch_a = kSwitchCount;
    p.switch_b = kSwitchCount;
    p.dataFileSize = kDataFileSize;
    p.data_offset = rfs::kIndexCopies * p.index_size;
    for (int i = 0; i < kPartitions; ++i) {
        p.part_start[i] = kFirstPartition + i * (p.data_offset + uint64_t{files} * kDataFileSize);
        p.index_valid[i] = 0x0F;
    }
    return p;
}

uint64_t storeEnd(const rfs::disk_param_t& p, uint32_t files) {
    return p.part_start[kPartitions - 1] + p.data_offset + uint64_t{files} * kDataFileSize;
}

}  // namespace

DiskGeometry diskGeometry() {
    // The index areas grow with the file count, so count down from what the bare disk would hold.
    uint32_t files = static_cast<uint32_t>(kDiskBytes / kPartitions / kDataFileSize);
    while (storeEnd(paramFor(files), files) > kDiskBytes)
        --files;
    return DiskGeometry{paramFor(files), files};
}

}  // namespace storebench
