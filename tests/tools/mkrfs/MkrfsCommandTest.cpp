// mkrfs as a user runs it: a quick store, the refusals, and what --force may and may not remove.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <vector>

#include "RunCommand.h"
#include "StoreReadBack.h"
#include "TempDir.h"

namespace fs = std::filesystem;
using rfssim::StoreLayout;

namespace {

const std::string kTiny = " --channels 2 --minutes 1 --width 160 --height 90 --fps 5 --gop 10";

CommandResult mkrfs(const std::string& arguments) {
    return runCommand(std::string(MKRFS_PATH) + " " + arguments);
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

bool holdsStoreFiles(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("index") || name.starts_with("file") || name.starts_with("label"))
            return true;
    }
    return false;
}

class MkrfsCommand : public ::testing::Test {
protected:
    fs::path path(const char* name) const { return dir_.path() / name; }

    TempDir dir_;
};

struct Refusal {
    const char* name;
    std::string arguments;  // "@" stands for the test's folder
    const char* message;
};

void PrintTo(const Refusal& c, std::ostream* os) {
    *os << c.name;
}

class MkrfsRefuses : public ::testing::TestWithParam<Refusal> {
protected:
    TempDir dir_;
};

}  // namespace

TEST_F(MkrfsCommand, WritesAQuickStoreWithBothStreams) {
    const CommandResult r = mkrfs("--dir " + quoted(path("store")) + kTiny + " --sub --audio");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(r.out.find("4 of 8 data files in use"), std::string::npos) << r.out;

    const WrittenStore store(path("store"), StoreLayout::Directory);
    EXPECT_TRUE(rfs::isValidDiskParam(store.param()));
    std::set<int> channels;
    for (uint32_t n = 0; n < 8; ++n)
        if (store.fileRecord(0, n).state == rfs::FileInUse)
            channels.insert(store.fileRecord(0, n).chn);
    EXPECT_EQ(channels, (std::set<int>{0, 1, 2, 3})) << "two main streams and the two second streams";
}

TEST_F(MkrfsCommand, WritesAQuickSdCardStore) {
    const CommandResult r = mkrfs("--sd --dir " + quoted(path("card")) + kTiny);
    ASSERT_EQ(r.exitStatus, 0) << r.err;

    const WrittenStore store(path("card"), StoreLayout::Directory);
    const rfs::disk_param_t param = store.param();
    EXPECT_EQ(store.kind(), rfssim::StoreKind::SdCard);
    EXPECT_EQ(param.fs_type, 0) << "vfat";
    EXPECT_EQ(param.dataFileSize, 0x10000000u);
    EXPECT_EQ(param.label_offset, 0u);
    EXPECT_FALSE(fs::exists(path("card") / "label0"));
    std::set<int> channels;
    for (uint32_t n = 0; n < store.partInfo(0).file_nr; ++n)
        if (store.fileRecord(0, n).state == rfs::FileInUse)
            channels.insert(store.fileRecord(0, n).chn);
    EXPECT_EQ(channels, (std::set<int>{0, 1}));
}

// Each key sends an event somewhere else: events_per_file and new_file each start a file, file_state
// sets every file's state, writing marks the second event.
TEST_F(MkrfsCommand, WritesTheStoreAScenarioFileDescribes) {
    writeText(path("scenario.json"), R"({"layout": "dir", "channels": 1, "events_per_file": 2,
        "partitions": [{"files": 4}], "video": {"width": 160, "height": 96, "fps": 5, "gop": 10},
        "recordings": [
          {"channel": 1, "from": "2026-12-01 09:00:00", "to": "2026-12-01 09:00:02", "file_state": 2},
          {"channel": 1, "from": "2026-12-01 09:01:00", "to": "2026-12-01 09:01:02", "file_state": 2, "writing": true},
          {"channel": 1, "from": "2026-12-01 09:02:00", "to": "2026-12-01 09:02:02", "file_state": 2},
          {"channel": 1, "from": "2026-12-01 09:03:00", "to": "2026-12-01 09:03:02", "file_state": 2,
           "new_file": true}]})");
    const CommandResult r = mkrfs("--dir " + quoted(path("store")) + " --scenario " + quoted(path("scenario.json")));
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(r.out.find("3 of 4 data files in use, 4 events"), std::string::npos) << r.out;

    const WrittenStore store(path("store"), StoreLayout::Directory);
    const std::vector<std::vector<uint32_t>> magicsPerFile = {
        {rfs::kEventMagic, rfs::kEventWritingMagic}, {rfs::kEventMagic}, {rfs::kEventMagic}, {}};
    for (uint32_t n = 0; n < magicsPerFile.size(); ++n) {
        SCOPED_TRACE("file " + std::to_string(n));
        EXPECT_EQ(store.fileRecord(0, n).state, magicsPerFile[n].empty() ? rfs::FileFree : rfs::FileEventsOnly);
        std::vector<uint32_t> magics;
        for (const rfs::index_event_info& event : store.events(0, n))
            magics.push_back(event.magic);
        EXPECT_EQ(magics, magicsPerFile[n]);
    }
}

TEST_P(MkrfsRefuses, WithExitStatusOneAndAReason) {
    const fs::path root = dir_.path();
    writeText(root / "taken.img", "something");
    fs::create_directory(root / "busy");
    writeText(root / "busy" / "notes.txt", "keep me");
    writeText(root / "raw.json", R"({"layout": "raw"})");
    writeText(root / "broken.json", R"({"layout": )");

    std::string arguments = GetParam().arguments;
    for (std::size_t at = arguments.find('@'); at != std::string::npos; at = arguments.find('@'))
        arguments.replace(at, 1, quoted(root));
    const CommandResult r = mkrfs(arguments);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("wrote"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, MkrfsRefuses,
    ::testing::Values(Refusal{"no_output", kTiny, "Exactly 1 option from [--dir,--image] is required"},
                      Refusal{"two_outputs", "--dir @/a --image @/b.img" + kTiny, "2 were given"},
                      Refusal{"existing_image", "--image @/taken.img" + kTiny, "already exists; use --force"},
                      Refusal{"busy_folder", "--dir @/busy" + kTiny, "is not empty"},
                      Refusal{"foreign_files_even_with_force", "--dir @/busy --force" + kTiny, "notes.txt"},
                      Refusal{"layout_disagrees", "--dir @/store --scenario @/raw.json", "asks for a raw image"},
                      Refusal{"broken_scenario", "--dir @/store --scenario @/broken.json", "not valid JSON"},
                      Refusal{"scenario_and_quick_options", "--dir @/store --scenario @/raw.json --channels 2",
                              "excludes"},
                      Refusal{"unknown_codec", "--dir @/store --codec vp9", "vp9"},
                      Refusal{"bad_day", "--dir @/store --day 2026-13-01", "is not a time"},
                      Refusal{"sd_card_as_image", "--sd --image @/card.img" + kTiny, "an SD card's store is a folder"},
                      Refusal{"sd_card_with_virtual_key_frames", "--sd --dir @/card --virtual-kf 2" + kTiny,
                              "an SD card lists only I frames"},
                      Refusal{"sd_and_a_scenario", "--sd --dir @/store --scenario @/raw.json", "excludes"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MkrfsCommand, ForceLeavesFilesThatAreNoPartOfAStore) {
    fs::create_directory(path("busy"));
    writeText(path("busy") / "notes.txt", "keep me");
    EXPECT_EQ(mkrfs("--dir " + quoted(path("busy")) + " --force" + kTiny).exitStatus, 1);
    EXPECT_TRUE(fs::exists(path("busy") / "notes.txt"));
    EXPECT_FALSE(holdsStoreFiles(path("busy")));
}

TEST_F(MkrfsCommand, ForceReplacesAnEarlierStore) {
    for (const auto& [option, name] : {std::pair{"--dir ", "store"}, std::pair{"--image ", "store.img"}}) {
        SCOPED_TRACE(name);
        const std::string target = option + quoted(path(name));
        ASSERT_EQ(mkrfs(target + kTiny).exitStatus, 0);
        EXPECT_EQ(mkrfs(target + kTiny).exitStatus, 1) << "replaced without --force";
        const CommandResult again = mkrfs(target + " --force --channels 1 --minutes 1 --width 160 --height 90");
        ASSERT_EQ(again.exitStatus, 0) << again.err;
        EXPECT_NE(again.out.find("1 of 8 data files in use"), std::string::npos) << again.out;
    }
}

TEST_F(MkrfsCommand, ForceKeepsTheEarlierStoreWhenTheScenarioIsBad) {
    ASSERT_EQ(mkrfs("--dir " + quoted(path("store")) + kTiny).exitStatus, 0);
    writeText(path("bad.json"), R"({"channels": 1, "recordings": [{"channel": 2, "from": "2026-12-01 09:00:00",
                                                                    "to": "2026-12-01 09:00:05"}]})");
    const CommandResult r = mkrfs("--dir " + quoted(path("store")) + " --force --scenario " + quoted(path("bad.json")));
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("recordings[0].channel"), std::string::npos) << r.err;
    EXPECT_TRUE(rfs::isValidDiskParam(WrittenStore(path("store"), StoreLayout::Directory).param()));
}

TEST_F(MkrfsCommand, FailedRunLeavesNoStoreFilesBehind) {
    writeText(path("small.json"), R"({"channels": 2, "partitions": [{"files": 1}],
        "video": {"width": 160, "height": 90, "fps": 5, "gop": 10},
        "recordings": [{"channel": 1, "from": "2026-12-01 09:00:00", "to": "2026-12-01 09:00:05"},
                       {"channel": 2, "from": "2026-12-01 09:00:00", "to": "2026-12-01 09:00:05"}]})");
    const CommandResult r = mkrfs("--dir " + quoted(path("store")) + " --scenario " + quoted(path("small.json")));
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("more data files"), std::string::npos) << r.err;
    EXPECT_FALSE(holdsStoreFiles(path("store")));
}
