// `tarn info` as a user runs it: on good stores of both kinds, as text and JSON, and on damaged ones.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "RunCommand.h"
#include "TempDir.h"
#include "TestStore.h"

namespace fs = std::filesystem;

namespace {

CommandResult tarnInfo(const fs::path& store, const std::string& options = "") {
    return runCommand(std::string(TARN_PATH) + " info " + quoted(store) + options);
}

class TarnInfo : public ::testing::TestWithParam<StoreLayout> {
protected:
    TempDir dir_;
};

}  // namespace

TEST_P(TarnInfo, ShowsTheParameterBlockAndPartitions) {
    const TestStore s = writeTestStore(dir_.path(), GetParam());
    const CommandResult r = tarnInfo(s.path);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "");
    for (const char* expected : {"File system        PRIVATE", "Version            2.3", "Data file size     256 MiB",
                                 "Disk state         0 (usable)", "Free files         "})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
    EXPECT_NE(r.out.find(s.directory() ? "(directory)" : "(disk image)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("0    usable     no          3"), std::string::npos) << r.out;
}

TEST_P(TarnInfo, PrintsJson) {
    const TestStore s = writeTestStore(dir_.path(), GetParam());
    const rfs::disk_param_t param = s.param();
    const rfs::part_info_t part = s.partInfo(0, 0);
    const CommandResult r = tarnInfo(s.path, " --json");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["total_size_mb"], param.total_size);
    EXPECT_EQ(j["file_system"], "PRIVATE");
    EXPECT_EQ(j["data_file_size"], 0x10000000);
    EXPECT_EQ(j["free_files"], part.free_nr);
    ASSERT_EQ(j["partitions"].size(), 1u);
    EXPECT_EQ(j["partitions"][0]["files"], part.file_nr);
    EXPECT_EQ(j["partitions"][0]["state"], "usable");
    EXPECT_EQ(j["partitions"][0]["index_copies"], "0,1,2,3");
    EXPECT_EQ(j["partitions"][0]["recordings"]["from"], rfs::formatTime(rfs::unpackTime(part.rec_start)));
    EXPECT_EQ(j["partitions"][0]["recordings"]["to"], rfs::formatTime(rfs::unpackTime(part.rec_end)));
}

TEST_P(TarnInfo, NeverWritesToTheStore) {
    const TestStore s = writeTestStore(dir_.path(), GetParam());
    rfs::disk_param_t p = s.param();
    p.disk_state = 3;  // attach would repair this
    s.setParam(p);
    const fs::path file = s.paramFile();
    const auto before = fs::last_write_time(file);
    ASSERT_EQ(tarnInfo(s.path).exitStatus, 0);
    EXPECT_EQ(s.param().disk_state, 3);
    EXPECT_EQ(fs::last_write_time(file), before);
}

TEST_P(TarnInfo, ShowsAnUnreadablePartition) {
    const TestStore s = writeTestStore(dir_.path(), GetParam());
    rfs::disk_param_t p = s.param();
    p.index_valid[0] = 0x01;  // one valid copy is no choice
    s.setParam(p);
    const CommandResult r = tarnInfo(s.path);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(r.out.find("0    unreadable"), std::string::npos) << r.out;
}

TEST_P(TarnInfo, RefusesADamagedStoreInOneSentence) {
    struct Case {
        const char* what;
        void (*damage)(rfs::disk_param_t&);
        bool fixCheckSum;
        const char* says;
    };
    const Case cases[] = {
        {"check sum", [](rfs::disk_param_t& p) { p.total_size ^= 1; }, false, "check sum mismatch"},
        {"magic", [](rfs::disk_param_t& p) { p.magic = 0; }, true, "holds no rfs parameter block"},
        {"unknown version", [](rfs::disk_param_t& p) { p.version_lo = 5; }, true, "store version 2.5"},
        {"partitions", [](rfs::disk_param_t& p) { p.part_count = 9; }, true, "lists 9 partitions"},
    };
    const TestStore s = writeTestStore(dir_.path(), GetParam());
    const rfs::disk_param_t intact = s.param();
    for (const Case& c : cases) {
        rfs::disk_param_t p = intact;
        c.damage(p);
        s.setParam(p, c.fixCheckSum);
        const CommandResult r = tarnInfo(s.path);
        EXPECT_EQ(r.exitStatus, 1) << c.what;
        EXPECT_EQ(r.out, "") << c.what;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.what << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    // An SD card's version is read as a card in a folder; anywhere else it is refused.
    rfs::disk_param_t card = intact;
    card.version_lo = 4;
    s.setParam(card);
    const CommandResult r = tarnInfo(s.path);
    if (GetParam() == StoreLayout::RawImage) {
        EXPECT_EQ(r.exitStatus, 1);
        EXPECT_NE(r.err.find("an SD card's store is a folder"), std::string::npos) << r.err;
    } else {
        EXPECT_EQ(r.exitStatus, 0) << r.err;
        EXPECT_NE(r.out.find("(directory, SD card)"), std::string::npos) << r.out;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, TarnInfo, ::testing::Values(StoreLayout::RawImage, StoreLayout::Directory),
                         [](const auto& info) { return info.param == StoreLayout::RawImage ? "Raw" : "Directory"; });

TEST(TarnInfoPaths, RefusesWhatHoldsNoStore) {
    TempDir dir;
    std::ofstream(dir.path() / "short.img") << "tiny";
    fs::create_directory(dir.path() / "empty");
    for (const fs::path& path : {dir.path() / "short.img", dir.path() / "empty", dir.path() / "missing"}) {
        const CommandResult r = tarnInfo(path);
        EXPECT_EQ(r.exitStatus, 1) << path;
        EXPECT_EQ(r.out, "") << path;
        EXPECT_EQ(r.err.rfind("tarn: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    const CommandResult device = tarnInfo("/dev/null");
    EXPECT_EQ(device.exitStatus, 1);
}
