// The parameter block and the places of every part of a store, for image and folder stores of hard
// disks and for SD cards, read back from empty stores (no recordings, so every data file is free).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "StoreReadBack.h"
#include "TempDir.h"
#include "rfs/DiskParam.h"
#include "rfs/LabelRecords.h"
#include "rfssim/StoreWriter.h"

namespace fs = std::filesystem;
using namespace rfssim;

namespace {

constexpr uint64_t MiB = 1024 * 1024;

struct GeometryCase {
    const char* name;
    StoreLayout layout;
    StoreKind kind;
    std::optional<uint8_t> fsType;
    uint32_t dataFileSize;
    std::vector<PartitionSettings> partitions;
    bool labels;
    // Worked out by hand from the layout rules.
    uint8_t fsByte;
    uint16_t versionLo;
    uint32_t eventTableOffset;
    uint32_t indexSize;
    uint32_t dataOffset;
    uint32_t totalSizeMiB;
};

constexpr StoreKind kDisk = StoreKind::HardDisk;
constexpr StoreKind kCard = StoreKind::SdCard;

// clang-format off
const GeometryCase kCases[] = {
    {"raw_256M_one_partition", StoreLayout::RawImage, kDisk, {}, 0x10000000, {{3, 0x0F}}, true,
     3, 3, 8192, 1 * MiB, 4 * MiB, 776},
    {"raw_512M_three_partitions", StoreLayout::RawImage, kDisk, {}, 0x20000000, {{2, 0x0F}, {5, 0x07}, {1, 0x0F}}, false,
     3, 3, 8192, 1 * MiB, 4 * MiB, 4112},
    {"raw_1G_large_index", StoreLayout::RawImage, kDisk, 6, 0x40000000, {{100, 0x0F}, {7, 0x0F}}, true,
     6, 3, 16384, 3 * MiB, 12 * MiB, 109596},
    {"dir_256M", StoreLayout::Directory, kDisk, {}, 0x10000000, {{4, 0x0F}}, true,
     3, 3, 8192, 1 * MiB, 0, 1030},
    {"dir_512M_without_labels", StoreLayout::Directory, kDisk, {}, 0x20000000, {{2, 0x0B}}, false,
     3, 3, 8192, 1 * MiB, 0, 1028},
    // An SD card: vfat unless told, version 4, no label area.
    {"sd_card", StoreLayout::Directory, kCard, {}, 0x10000000, {{4, 0x0F}}, false,
     0, 4, 8192, 1 * MiB, 0, 1028},
    // 35 records of 120 bytes pass the first 4 KiB of the file table; 35 of 112 would not.
    {"sd_card_fs_raw_35_files", StoreLayout::Directory, kCard, 3, 0x10000000, {{35, 0x0F}}, false,
     3, 4, 12288, 1 * MiB, 0, 8964},
};
// clang-format on

void PrintTo(const GeometryCase& c, std::ostream* os) {
    *os << c.name;
}

class WrittenGeometry : public ::testing::TestWithParam<GeometryCase> {
protected:
    void SetUp() override {
        const GeometryCase& c = GetParam();
        Scenario scenario;
        scenario.layout = c.layout;
        scenario.kind = c.kind;
        scenario.fsType = c.fsType;
        scenario.dataFileSize = c.dataFileSize;
        scenario.partitions = c.partitions;
        scenario.labels = c.labels;
        path_ = dir_.path() / (c.layout == StoreLayout::RawImage ? "store.img" : "store");
        writeStore(scenario, path_);
    }

    TempDir dir_;
    fs::path path_;
};

}  // namespace

TEST_P(WrittenGeometry, ParameterBlockFollowsTheLayoutRules) {
    const GeometryCase& c = GetParam();
    const rfs::disk_param_t p = WrittenStore(path_, c.layout).param();
    EXPECT_EQ(p.magic, rfs::kDiskMagic);
    EXPECT_EQ(p.version_lo, c.versionLo);
    EXPECT_EQ(p.version_hi, 2);
    EXPECT_EQ(p.check_sum, rfs::diskParamCheckSum(p));
    EXPECT_EQ(rfs::isValidDiskParam(p), c.kind == kDisk) << "a hard disk's reader refuses an SD card";
    EXPECT_EQ(p.fs_type, c.fsByte);
    EXPECT_EQ(p.disk_state, 0);
    EXPECT_EQ(p.active_part, 0);
    EXPECT_EQ(p.part_count, c.partitions.size());
    EXPECT_EQ(p.dataFileSize, c.dataFileSize);
    EXPECT_EQ(p.file_table_offset, 4096u);
    EXPECT_EQ(p.event_table_offset, c.eventTableOffset);
    EXPECT_EQ(p.index_size, c.indexSize);
    EXPECT_EQ(p.data_offset, c.dataOffset);
    EXPECT_EQ(p.label_offset, c.labels ? 1 * MiB : 0);
    EXPECT_EQ(p.total_size, c.totalSizeMiB);
    for (std::size_t i = 0; i < c.partitions.size(); ++i)
        EXPECT_EQ(p.index_valid[i], c.partitions[i].indexValid) << "partition " << i;
}

TEST_P(WrittenGeometry, PartsLieWhereTheParameterBlockSays) {
    const GeometryCase& c = GetParam();
    const WrittenStore store(path_, c.layout);
    const rfs::disk_param_t p = store.param();
    if (c.layout == StoreLayout::RawImage) {
        uint64_t start = 4 * MiB;
        for (std::size_t i = 0; i < c.partitions.size(); ++i) {
            EXPECT_EQ(p.part_start[i], start) << "partition " << i;
            start += p.data_offset + uint64_t{c.partitions[i].files} * c.dataFileSize;
        }
        EXPECT_EQ(fs::file_size(path_), start);
        return;
    }
    EXPECT_EQ(p.part_start[0], 4096u);
    for (int copy = 0; copy < 4; ++copy) {
        EXPECT_EQ(fs::file_size(store.indexFile(copy)), 4096u + p.index_size);
        const auto block = readBytes(store.indexFile(copy), rfs::kDiskParamOffset, sizeof p);
        EXPECT_EQ(std::memcmp(block.data(), &p, sizeof p), 0) << "index" << copy << " holds the same block";
    }
    const uint32_t files = c.partitions[0].files;
    for (uint32_t n = 0; n < files; ++n)
        EXPECT_EQ(fs::file_size(store.dataFilePath(n)), c.dataFileSize);
    EXPECT_FALSE(fs::exists(store.dataFilePath(files)));
    EXPECT_EQ(fs::exists(path_ / "label0"), c.labels);
    if (c.labels) {
        EXPECT_EQ(fs::file_size(path_ / "label0"), rfs::kLabelAreaSize);
    }
}

TEST_P(WrittenGeometry, EmptyPartitionsListOnlyFreeFiles) {
    const GeometryCase& c = GetParam();
    const WrittenStore store(path_, c.layout);
    const uint32_t mediaStart = rfs::mediaStart(c.dataFileSize);
    for (std::size_t i = 0; i < c.partitions.size(); ++i) {
        const int partition = static_cast<int>(i);
        SCOPED_TRACE("partition " + std::to_string(i));
        const std::vector<uint8_t> area = store.indexArea(partition, 0);
        for (int copy = 1; copy < 4; ++copy)
            EXPECT_TRUE(store.indexArea(partition, copy) == area) << "index copy " << copy << " differs";

        const rfs::part_info_t part = store.partInfo(partition);
        EXPECT_EQ(part.magic, rfs::kPartMagic);
        EXPECT_EQ(part.file_nr, c.partitions[i].files);
        EXPECT_EQ(part.free_nr, c.partitions[i].files);
        EXPECT_EQ(part.state, 0);
        EXPECT_EQ(part.active, 0);
        EXPECT_EQ(part.rec_start, 0u);
        EXPECT_EQ(part.rec_end, 0u);
        // Records follow each other at their kind's length; an SD card's ends in 8 zero bytes.
        const uint32_t length = fileRecordLength(c.kind);
        for (uint32_t n = 0; n < c.partitions[i].files; ++n) {
            rfs::index_file_info expected{};
            expected.magic = rfs::kFileMagic;
            expected.file_no = static_cast<uint16_t>(n + 1);
            expected.data_end = mediaStart;
            expected.index_low = c.dataFileSize;
            expected.mobit_end = 4096;
            std::vector<uint8_t> bytes(length, 0);
            std::memcpy(bytes.data(), &expected, sizeof expected);
            EXPECT_TRUE(store.fileRecordBytes(partition, n) == bytes) << "file record " << n;
            EXPECT_TRUE(store.dataFile(partition, n)(0, length) == bytes) << "data file " << n << " head";
        }
    }
}

TEST_P(WrittenGeometry, LabelAreaHoldsAnEmptyHeadAndTheEndEntryWhenLabelsAreOn) {
    const GeometryCase& c = GetParam();
    constexpr std::size_t kWritten = rfs::kLabelEntriesOffset + sizeof(rfs::label_info_t);
    if (!c.labels) {
        if (c.layout == StoreLayout::RawImage) {
            const std::vector<uint8_t> area = readBytes(path_, 1 * MiB, kWritten);
            EXPECT_TRUE(std::all_of(area.begin(), area.end(), [](uint8_t b) { return b == 0; }));
        }
        EXPECT_FALSE(fs::exists(path_ / "label0"));
        return;
    }
    const auto area = WrittenStore(path_, c.layout).labelArea(kWritten);
    const auto head = recordAt<rfs::label_head_t>(area, 0);
    EXPECT_EQ(head.write_flag, 0u);
    EXPECT_EQ(head.magic, rfs::kLabelHeadMagic);
    EXPECT_EQ(head.next_label, 0u);
    EXPECT_EQ(head.label_count, 0u);
    EXPECT_EQ(recordAt<rfs::label_info_t>(area, rfs::kLabelEntriesOffset).magic, rfs::kLabelEndMagic);
}

INSTANTIATE_TEST_SUITE_P(Layouts, WrittenGeometry, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
