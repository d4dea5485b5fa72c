// Initialising the reader, attaching and removing disks, probing, and the repairs attach makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ReaderFixture.h"

using namespace kvrfs;
namespace fs = std::filesystem;

namespace {

class ReaderTest : public ReaderFixture {
protected:
    TestStore store(StoreLayout layout, int partitions = 1) {
        TestStore s = writeTestStore(dir_.path(), layout, partitions);
        KVrfs_mode_set(layout == StoreLayout::Directory ? 1 : 0);
        return s;
    }
};

class AttachBothModes : public ReaderTest, public ::testing::WithParamInterface<StoreLayout> {};

std::string layoutName(const ::testing::TestParamInfo<StoreLayout>& info) {
    return info.param == StoreLayout::RawImage ? "Raw" : "Directory";
}

}  // namespace

TEST_F(ReaderTest, InitChecksItsArguments) {
    EXPECT_EQ(KVrfs_init_hdd(0, 20), -1);
    EXPECT_EQ(KVrfs_init_hdd(129, 20), -1);
    EXPECT_EQ(KVrfs_init_hdd(64, 0), -1);
    EXPECT_EQ(registry().maxRecChannels, 64);
    EXPECT_TRUE(said("invalid moarea nums! init rfs failed!\n"));
    EXPECT_EQ(KVrfs_init_hdd(128, 1), 0);
    EXPECT_EQ(KVrfs_mode_set(5), 5);
    EXPECT_EQ(KVrfs_mode_set(256), 0);  // a byte
}

TEST_P(AttachBothModes, AttachesAndRemovesAStore) {
    const TestStore s = store(GetParam());
    ASSERT_EQ(attach(s, 3), 0);
    const DiskRecord* disk = registry().disks[3].get();
    ASSERT_NE(disk, nullptr);
    EXPECT_EQ(disk->path, s.path.string());
    EXPECT_EQ(disk->disk_id, 3);
    EXPECT_EQ(disk->part[0].magic, rfs::kPartMagic);
    EXPECT_EQ(disk->part[0].file_nr, 3);
    EXPECT_EQ(disk->label_head.magic, rfs::kLabelHeadMagic);
    EXPECT_GE(registry().maxFileNr, 3u);
    EXPECT_TRUE(said("add disk repair record:" + s.path.string() + " part:0 sucess!\n"));

    EXPECT_EQ(KVrfs_remove_disk_hdd(3), 0);
    EXPECT_EQ(registry().disks[3], nullptr);
    EXPECT_EQ(KVrfs_remove_disk_hdd(3), 0);
    EXPECT_TRUE(said("disk 3 not added\n"));
    EXPECT_EQ(KVrfs_remove_disk_hdd(26), -1);
}

TEST_P(AttachBothModes, KeepsTheWholeStorePath) {
    const fs::path deep = dir_.path() / std::string(80, 'd');
    fs::create_directories(deep);
    const TestStore s = writeTestStore(deep, GetParam());
    KVrfs_mode_set(GetParam() == StoreLayout::Directory ? 1 : 0);
    ASSERT_GT(s.path.string().size(), 64u);
    ASSERT_EQ(attach(s), 0);
    EXPECT_EQ(registry().disks[0]->path, s.path.string());
}

TEST_P(AttachBothModes, RefusesDamagedParameterBlocks) {
    struct Case {
        const char* what;
        void (*damage)(rfs::disk_param_t&);
        bool fixCheckSum;
    };
    const Case cases[] = {
        {"check sum", [](rfs::disk_param_t& p) { p.check_sum ^= 0x100; }, false},
        {"magic", [](rfs::disk_param_t& p) { p.magic = 0; }, true},
        {"card store version 4", [](rfs::disk_param_t& p) { p.version_lo = 4; }, true},
        {"version_hi 3", [](rfs::disk_param_t& p) { p.version_hi = 3; }, true},
        {"nine partitions", [](rfs::disk_param_t& p) { p.part_count = 9; }, true},
    };
    const TestStore s = store(GetParam());
    const rfs::disk_param_t intact = s.param();
    for (const Case& c : cases) {
        rfs::disk_param_t damaged = intact;
        c.damage(damaged);
        if (c.fixCheckSum)
            damaged.check_sum = rfs::diskParamCheckSum(damaged);
        s.setParam(damaged, false);
        EXPECT_EQ(attach(s), -1) << c.what;
        EXPECT_EQ(registry().disks[0], nullptr) << c.what;
        rfs::disk_param_t probed{};
        EXPECT_EQ(get_disk_param_size(s.path.c_str(), &probed), -1) << c.what;
        EXPECT_EQ(get_disk_param_hdd(s.path.c_str(), &probed), 0) << c.what;  // the raw block, unvalidated
        EXPECT_EQ(std::memcmp(&probed, &damaged, sizeof probed), 0) << c.what;
    }
    s.setParam(intact);
    EXPECT_EQ(attach(s), 0);
}

TEST_F(ReaderTest, ExplainsAnInvalidBlock) {
    const TestStore s = store(StoreLayout::RawImage);
    rfs::disk_param_t p = s.param();
    p.version_lo = 4;
    s.setParam(p);
    ASSERT_EQ(attach(s), -1);
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "not valid rfs format, check_sum:%#x==%#x,magic:1936094795==1936094795, version:(2/4)-(2/3)\n",
                  rfs::diskParamCheckSum(p), rfs::diskParamCheckSum(p));
    EXPECT_TRUE(said(expected)) << expected;
    EXPECT_TRUE(said("ret = -1\n"));
}

TEST_F(ReaderTest, DiskIdsStopAt25) {
    const TestStore s = store(StoreLayout::RawImage);
    EXPECT_EQ(attach(s, 25), 0);
    EXPECT_EQ(attach(s, 26), -10);
    EXPECT_TRUE(said("hdd num > max hdd num, id:26, max_id:26\n"));
    EXPECT_EQ(attach(s, -1), -10);
}

TEST_F(ReaderTest, RecordsDiskGroups) {
    struct Case {
        int type;
        int group;
        int recorded;
    };
    const Case cases[] = {{0, 3, 3}, {1, 3, 29}, {1, 25, 51}, {0, 26, -1}, {1, 26, -1}, {0, -1, -1}, {2, 4, 4}};
    const TestStore s = store(StoreLayout::RawImage);
    for (const Case& c : cases) {
        ASSERT_EQ(attach(s, 1, c.type, c.group), 0);
        EXPECT_EQ(registry().disks[1]->group, c.recorded) << c.type << "/" << c.group;
        EXPECT_EQ(registry().disks[1]->type, c.type);
    }
}

TEST_F(ReaderTest, RefusesWhatIsNoStore) {
    const fs::path shortImage = dir_.path() / "short.img";
    const fs::path garbage = dir_.path() / "garbage.img";
    const fs::path emptyDir = dir_.path() / "empty";
    std::ofstream(shortImage) << std::string(300, 'x');
    {
        std::ofstream out(garbage, std::ios::binary);
        for (int i = 0; i < 4096; ++i)
            out.put(static_cast<char>(i * 131 + 7));
    }
    fs::create_directory(emptyDir);
    struct Case {
        fs::path path;
        int mode;
    };
    const Case cases[] = {{shortImage, 0}, {garbage, 0}, {emptyDir, 1}, {dir_.path() / "missing", 0},
                          {dir_.path() / "missing", 1}, {emptyDir, 0}};
    for (const Case& c : cases) {
        KVrfs_mode_set(c.mode);
        rfs::disk_param_t p{};
        EXPECT_EQ(KVrfs_add_disk_hdd(0, c.path.c_str(), 0, 0, nullptr), -1) << c.path;
        EXPECT_EQ(get_disk_param_size(c.path.c_str(), &p), -1) << c.path;
        EXPECT_EQ(registry().disks[0], nullptr);
    }
    EXPECT_EQ(KVrfs_add_disk_hdd(0, nullptr, 0, 0, nullptr), -1);
    EXPECT_EQ(get_disk_param_hdd(nullptr, nullptr), -1);
}

TEST_F(ReaderTest, DirectoryStoreWithoutIndex0UsesIndex1) {
    const TestStore s = store(StoreLayout::Directory);
    fs::remove(s.path / "index0");
    rfs::disk_param_t p{};
    ASSERT_EQ(get_disk_param_hdd(s.path.c_str(), &p), 0);
    EXPECT_TRUE(rfs::isValidDiskParam(p));

    // Copy 0 is gone, so the partition's index is read from copy 1 once the valid bits say so.
    p.index_valid[0] = 0x0E;
    s.setParam(p);
    ASSERT_EQ(attach(s), 0);
    EXPECT_EQ(registry().disks[0]->part[0].magic, rfs::kPartMagic);
    EXPECT_FALSE(fs::exists(s.path / "index0"));
}

TEST_P(AttachBothModes, RepairsABadDiskState) {
    const TestStore s = store(GetParam());
    rfs::disk_param_t p = s.param();
    p.disk_state = 3;
    s.setParam(p);
    rfs::part_info_t bad = s.partInfo(0, 0);
    bad.state = 2;
    s.setPartInfo(0, 0, bad);
    s.setPartInfo(0, 1, bad);

    // What surrounds the block on sector 0 belongs to someone else.
    std::vector<char> around(512);
    for (std::size_t i = 0; i < around.size(); ++i)
        around[i] = static_cast<char>(i ^ 0x5a);
    const fs::path sector0 = s.directory() ? s.path / "index1" : s.path;
    writeRecord(sector0, 0, std::array<char, 256>{});
    for (std::size_t i = 0; i < 256; ++i)
        writeRecord(sector0, i, around[i]);
    for (std::size_t i = 384; i < 512; ++i)
        writeRecord(sector0, i, around[i]);

    ASSERT_EQ(attach(s), 0);
    EXPECT_TRUE(said("disk:0 state bad ,now repair!!!!\n"));

    const int copies = s.directory() ? 4 : 1;
    for (int c = 0; c < copies; ++c) {
        const auto written = readRecord<rfs::disk_param_t>(s.indexFile(c), rfs::kDiskParamOffset);
        EXPECT_EQ(written.disk_state, 0) << c;
        EXPECT_TRUE(rfs::isValidDiskParam(written)) << c;
        p.disk_state = 0;
        p.check_sum = rfs::diskParamCheckSum(p);
        EXPECT_EQ(std::memcmp(&written, &p, sizeof p), 0) << "only the state and its check sum change";
    }
    for (std::size_t i = 0; i < 512; ++i) {
        if (i >= 256 && i < 384)
            continue;
        ASSERT_EQ(readRecord<char>(sector0, i), around[i]) << "byte " << i;
    }

    EXPECT_EQ(s.partInfo(0, 0).state, 0) << "primary copy reset";
    EXPECT_EQ(s.partInfo(0, 1).state, 2) << "secondary copy untouched";
    EXPECT_EQ(registry().disks[0]->param.disk_state, 0);
    EXPECT_EQ(registry().disks[0]->part[0].state, 0);
}

TEST_F(ReaderTest, LeavesPartitionStateAloneOnAGoodDisk) {
    const TestStore s = store(StoreLayout::RawImage);
    rfs::part_info_t bad = s.partInfo(0, 0);
    bad.state = 2;
    s.setPartInfo(0, 0, bad);
    ASSERT_EQ(attach(s), 0);
    EXPECT_EQ(s.partInfo(0, 0).state, 2);
    EXPECT_EQ(registry().disks[0]->part[0].state, 2);
}

TEST_F(ReaderTest, SumsFreeFilesOverPartitions) {
    const TestStore s = store(StoreLayout::RawImage, 3);
    const uint16_t freeCounts[] = {10, 0, 5};
    for (int part = 0; part < 3; ++part) {
        rfs::part_info_t info = s.partInfo(part, 0);
        info.free_nr = freeCounts[part];
        s.setPartInfo(part, 0, info);
    }
    rfs::disk_param_t p{};
    ASSERT_EQ(get_disk_param_size(s.path.c_str(), &p), 0);
    EXPECT_EQ(p.free_files, 15u);
    EXPECT_EQ(s.param().free_files, 0u) << "never written back";

    ASSERT_EQ(attach(s), 0);
    EXPECT_TRUE(said("disk0 free size=3840MB\n"));
}

TEST_F(ReaderTest, APartitionWithoutTwoValidCopiesFailsAlone) {
    const TestStore s = store(StoreLayout::RawImage, 2);
    rfs::disk_param_t p = s.param();
    p.index_valid[1] = 0x04;
    s.setParam(p);
    ASSERT_EQ(attach(s), 0);
    EXPECT_TRUE(said("invalid index file flag!\n"));
    EXPECT_TRUE(said("add disk repair record:" + s.path.string() + " part:1 failed! ret=-1\n"));
    EXPECT_EQ(registry().disks[0]->part[0].magic, rfs::kPartMagic);
    EXPECT_EQ(registry().disks[0]->part[1].magic, 0u);
}

TEST_P(AttachBothModes, RescansTheLabelHeadAfterAnInterruptedChange) {
    const TestStore s = store(GetParam());
    const fs::path area = s.directory() ? s.path / "label0" : s.path;
    const uint64_t base = s.directory() ? 0 : s.param().label_offset;
    const rfs::PackedTime t1 = rfs::packTime(rfs::CalendarTime{2026, 12, 1, 9, 0, 0});
    const rfs::PackedTime t2 = rfs::packTime(rfs::CalendarTime{2026, 12, 1, 9, 5, 0});
    const rfs::PackedTime deletedTime = rfs::packTime(rfs::CalendarTime{2026, 11, 1, 0, 0, 0});
    const rfs::label_info_t entries[] = {
        {rfs::kLabelMagic, 0, 0, t2, 0, 0, 1, "door"},
        {rfs::kLabelMagic, 1, 0, deletedTime, 0, 0, 2, "deleted"},
        {rfs::kLabelMagic, 2, 0, t1, 0, 1, 1, "gate"},
        {rfs::kLabelEndMagic, 3, 0, 0, 0, 0, 0, ""},
    };
    for (std::size_t n = 0; n < std::size(entries); ++n)
        writeRecord(area, base + rfs::kLabelEntriesOffset + n * sizeof(rfs::label_info_t), entries[n]);
    rfs::label_head_t head = readRecord<rfs::label_head_t>(area, base);
    head.write_flag = 1;
    writeRecord(area, base, head);

    ASSERT_EQ(attach(s), 0);
    const auto rescanned = readRecord<rfs::label_head_t>(area, base);
    EXPECT_EQ(rescanned.write_flag, 0u);
    EXPECT_EQ(rescanned.next_label, 3u);
    EXPECT_EQ(rescanned.earliest[0], t1);
    EXPECT_EQ(rescanned.latest[0], t2);
    EXPECT_EQ(rescanned.earliest[1], 0u);
    EXPECT_EQ(std::memcmp(&registry().disks[0]->label_head, &rescanned, sizeof rescanned), 0);
}

TEST_F(ReaderTest, DirectoryStoreWithoutLabelFileIsRefused) {
    const TestStore s = store(StoreLayout::Directory);
    fs::remove(s.path / "label0");
    EXPECT_EQ(attach(s), -1);
    EXPECT_TRUE(said("open hdd failed\n"));
}

INSTANTIATE_TEST_SUITE_P(Layouts, AttachBothModes, ::testing::Values(StoreLayout::RawImage, StoreLayout::Directory),
                         layoutName);
