#include "TestStore.h"

#include "rfssim/StoreWriter.h"

std::filesystem::path TestStore::paramFile() const {
    if (!directory())
        return path;
    for (int copy = 0; copy < rfs::kIndexCopies; ++copy)
        if (std::filesystem::exists(indexFile(copy)))
            return indexFile(copy);
    throw std::runtime_error("no index file in " + path.string());
}

void TestStore::setParam(rfs::disk_param_t block, bool fixCheckSum) const {
    if (fixCheckSum)
        block.check_sum = rfs::diskParamCheckSum(block);
    for (int copy = 0; copy < (directory() ? rfs::kIndexCopies : 1); ++copy)
        if (std::filesystem::exists(indexFile(copy)))
            writeRecord(indexFile(copy), rfs::kDiskParamOffset, block);
}

uint64_t TestStore::indexArea(int partition, int copy) const {
    const rfs::disk_param_t p = param();
    return directory() ? p.part_start[partition] : rfs::indexCopyOffset(p, partition, copy);
}

rfs::part_info_t TestStore::partInfo(int partition, int copy) const {
    return readRecord<rfs::part_info_t>(indexFile(copy), indexArea(partition, copy));
}

void TestStore::setPartInfo(int partition, int copy, const rfs::part_info_t& info) const {
    writeRecord(indexFile(copy), indexArea(partition, copy), info);
}

TestStore writeTestStore(const std::filesystem::path& dir, StoreLayout layout, int partitions, int filesPerPartition) {
    rfssim::Scenario scenario;
    scenario.layout = layout;
    scenario.channels = 1;
    scenario.video = rfssim::VideoSettings{rfssim::VideoCodecKind::H264, 160, 96, 5, 10, 100'000};
    scenario.partitions.assign(partitions, rfssim::PartitionSettings{static_cast<uint32_t>(filesPerPartition), 0x0F});
    rfssim::Recording recording;
    recording.from = rfs::CalendarTime{2026, 12, 1, 9, 0, 0};
    recording.to = rfs::CalendarTime{2026, 12, 1, 9, 0, 10};
    scenario.recordings.push_back(recording);

    TestStore store;
    store.layout = layout;
    store.path = dir / (layout == StoreLayout::Directory ? "store" : "disk.img");
    rfssim::writeStore(scenario, store.path);
    return store;
}
