#include "rfssim/StoreGeometry.h"

#include <algorithm>

#include "rfs/IndexRecords.h"
#include "rfs/LabelRecords.h"
#include "rfssim/SizedRecords.h"

namespace rfssim {

DataFileLayout dataFileLayout(uint32_t dataFileSize, StoreKind kind) {
    return DataFileLayout{dataFileSize, rfs::mediaStart(dataFileSize), rfs::eventsPerFile(dataFileSize), kind};
}

StoreGeometry computeGeometry(const Scenario& scenario) {
    StoreGeometry g;
    const bool card = scenario.kind == StoreKind::SdCard;
    g.dataFile = dataFileLayout(scenario.dataFileSize, scenario.kind);
    for (const PartitionSettings& partition : scenario.partitions)
        g.filesPerPartition.push_back(partition.files);
    const uint64_t maxFiles = *std::max_element(g.filesPerPartition.begin(), g.filesPerPartition.end());
    const uint64_t fileSize = g.dataFile.size;

    rfs::disk_param_t& p = g.param;
    p.magic = rfs::kDiskMagic;
    p.part_count = static_cast<uint8_t>(scenario.partitions.size());
    p.fs_type = scenario.fsType.value_or(card ? kSdFsType : kDiskFsType);
    p.version_lo = card ? rfs::kSdVersionLo : rfs::kVersionLo;
    p.version_hi = rfs::kVersionHi;
    p.file_table_offset = kFileTableOffset;
    p.event_table_offset =
        static_cast<uint32_t>(alignUp(kFileTableOffset + maxFiles * fileRecordSize(scenario.kind), 4096));
    p.index_size = static_cast<uint32_t>(
        alignUp(p.event_table_offset + maxFiles * g.dataFile.eventsPerFile * sizeof(rfs::index_event_info), kMiB));
    p.label_offset = hasLabelArea(scenario) ? static_cast<uint32_t>(kLabelOffset) : 0;
    p.switch_a = kSwitchCount;
    p.switch_b = kSwitchCount;
    p.dataFileSize = g.dataFile.size;
    for (std::size_t i = 0; i < scenario.partitions.size(); ++i)
        p.index_valid[i] = scenario.partitions[i].indexValid;

    if (scenario.layout == StoreLayout::RawImage) {
        p.data_offset = static_cast<uint32_t>(alignUp(uint64_t{4} * p.index_size, kMiB));
        uint64_t start = kFirstRawPartition;
        for (std::size_t i = 0; i < g.filesPerPartition.size(); ++i) {
            p.part_start[i] = start;
            start += p.data_offset + g.filesPerPartition[i] * fileSize;
        }
        g.storeBytes = start;
    } else {
        p.data_offset = 0;
        p.part_start[0] = kDirectoryIndexStart;
        g.storeBytes = rfs::kIndexCopies * (kDirectoryIndexStart + p.index_size) +
                       (hasLabelArea(scenario) ? rfs::kLabelAreaSize : 0) + g.filesPerPartition[0] * fileSize;
    }
    p.total_size = static_cast<uint32_t>(g.storeBytes / kMiB);
    p.check_sum = rfs::diskParamCheckSum(p);
    return g;
}

}  // namespace rfssim
