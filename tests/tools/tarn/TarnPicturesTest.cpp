// `tarn pictures` on a store with pictures on two channels and both streams. The
// simulator writes pictures of first streams only; since a store does not record the recorder's channel
// count, the store of a four-channel scenario is read as that of a two-channel recorder, whose second
// streams lie at store channels 3 and 4.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "ScenarioStores.h"
#include "TarnCommand.h"
#include "TempDir.h"
#include "rfssim/StoreWriter.h"

namespace {

const std::string kChannels = "2";

rfs::CalendarTime at(const char* text) {
    return *rfs::parseTime(text);
}

rfssim::PictureSeries series(int storeChannel, const char* from, const char* to, int every, uint32_t types,
                             uint32_t externLength) {
    return rfssim::PictureSeries{storeChannel + 1, at(from), at(to), every, types, externLength};
}

// Channel 1: main stream every 10 s from 09:00:00 (three pictures), sub stream once at 09:00:00.
// Channel 2: main stream at 09:00:05 and 09:00:15 with leading bytes in their block, sub stream on the
// next day with leading bytes that push each frame record into a second block.
rfssim::Scenario picturesScenario() {
    rfssim::Scenario s;
    s.layout = rfssim::StoreLayout::Directory;
    s.channels = 4;
    s.video = tinyVideo();
    s.partitions = {rfssim::PartitionSettings{8, 0x0F}};
    s.pictures = {series(0, "2026-12-01 09:00:00", "2026-12-01 09:00:30", 10, rfs::RecNormal, 0),
                  series(1, "2026-12-01 09:00:05", "2026-12-01 09:00:25", 10, rfs::RecMotion, 0x234),
                  series(2, "2026-12-01 09:00:00", "2026-12-01 09:00:20", 20, rfs::RecIo, 0),
                  series(3, "2026-12-02 10:00:00", "2026-12-02 10:00:02", 1, rfs::RecNormal | rfs::RecMotion, 4000)};
    return s;
}

struct WrittenStore {
    TempDir dir;
    std::filesystem::path path;
    rfssim::StoreManifest manifest;

    WrittenStore() : path(dir.path() / "store"), manifest(rfssim::writeStore(picturesScenario(), path)) {}

    const rfssim::WrittenFile& pictureFile(int storeChannel) const {
        for (const rfssim::WrittenFile& file : manifest.files)
            if (file.type == rfs::PictureFile && file.storeChannel == storeChannel)
                return file;
        throw std::runtime_error("no picture file of store channel " + std::to_string(storeChannel));
    }
};

class TarnPicturesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { shared = new WrittenStore; }
    static void TearDownTestSuite() {
        delete shared;
        shared = nullptr;
    }

    static std::string store() { return shared->path.string(); }

    static nlohmann::json listed(std::vector<std::string> extra) {
        std::vector<std::string> args = {"pictures", store(), "--store-channels", kChannels, "--json"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CommandResult r = tarn(args);
        EXPECT_EQ(r.exitStatus, 0) << r.err;
        return nlohmann::json::parse(r.out, nullptr, false);
    }

    static WrittenStore* shared;
};

WrittenStore* TarnPicturesTest::shared = nullptr;

const std::vector<std::string> kTwoDays = {"--from", "2026-12-01 00:00:00", "--to", "2026-12-02 23:59:59"};

std::vector<std::string> with(std::vector<std::string> options, const std::vector<std::string>& more) {
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

}  // namespace

TEST_F(TarnPicturesTest, ListsBySpanChannelStreamAndType) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::vector<std::string> expected;  // time, channel, stream, types
    };
    const Case cases[] = {
        {"both streams, by time and channel",
         with(kTwoDays, {"--stream", "both"}),
         {"2026-12-01 09:00:00 1 main normal", "2026-12-01 09:00:00 1 sub io", "2026-12-01 09:00:05 2 main motion",
          "2026-12-01 09:00:10 1 main normal", "2026-12-01 09:00:15 2 main motion", "2026-12-01 09:00:20 1 main normal",
          "2026-12-02 10:00:00 2 sub normal,motion", "2026-12-02 10:00:01 2 sub normal,motion"}},
        {"main stream by default",
         kTwoDays,
         {"2026-12-01 09:00:00 1 main normal", "2026-12-01 09:00:05 2 main motion", "2026-12-01 09:00:10 1 main normal",
          "2026-12-01 09:00:15 2 main motion", "2026-12-01 09:00:20 1 main normal"}},
        {"one channel, sub stream",
         with(kTwoDays, {"--channels", "2", "--stream", "sub"}),
         {"2026-12-02 10:00:00 2 sub normal,motion", "2026-12-02 10:00:01 2 sub normal,motion"}},
        {"by record type",
         with(kTwoDays, {"--stream", "both", "--types", "motion"}),
         {"2026-12-01 09:00:05 2 main motion", "2026-12-01 09:00:15 2 main motion",
          "2026-12-02 10:00:00 2 sub normal,motion", "2026-12-02 10:00:01 2 sub normal,motion"}},
        {"both ends of the span included",
         {"--from", "2026-12-01 09:00:05", "--to", "2026-12-01 09:00:15", "--stream", "both"},
         {"2026-12-01 09:00:05 2 main motion", "2026-12-01 09:00:10 1 main normal",
          "2026-12-01 09:00:15 2 main motion"}},
        {"nothing in the span", {"--from", "2026-12-01 09:00:21", "--to", "2026-12-02 09:59:59"}, {}},
    };
    for (const Case& c : cases) {
        const nlohmann::json answer = listed(c.options);
        EXPECT_EQ(answer["at_reader_limit"], false) << c.name;
        std::vector<std::string> got;
        int number = 0;
        for (const auto& p : answer["pictures"]) {
            std::string types;
            for (const auto& t : p["types"])
                types += (types.empty() ? "" : ",") + t.get<std::string>();
            got.push_back(p["time"].get<std::string>() + " " + std::to_string(p["channel"].get<int>()) + " " +
                          p["stream"].get<std::string>() + " " + types);
            EXPECT_EQ(p["number"], ++number) << c.name;
            const int storeChannel = p["channel"].get<int>() - 1 + (p["stream"] == "sub" ? 2 : 0);
            EXPECT_EQ(p["size"], shared->pictureFile(storeChannel).pictures.front().length) << c.name;
        }
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST_F(TarnPicturesTest, PrintsATableOrSaysThereAreNone) {
    const uint32_t size = shared->pictureFile(1).pictures.front().length;
    char row[128];
    std::snprintf(row, sizeof row, "     1  2026-12-01 09:00:05        2  main    motion           %12u\n", size);
    const CommandResult table = tarn({"pictures", store(), "--store-channels", kChannels, "--channels", "2", "--from",
                                      "2026-12-01 09:00:00", "--to", "2026-12-01 09:00:10"});
    EXPECT_EQ(table.exitStatus, 0) << table.err;
    EXPECT_EQ(table.out,
              std::string("Number  Time                 Channel  Stream  Types            Size (bytes)\n") + row);

    const CommandResult none = tarn({"pictures", store(), "--store-channels", kChannels, "--from",
                                     "2026-12-03 00:00:00", "--to", "2026-12-03 23:59:59"});
    EXPECT_EQ(none.exitStatus, 0) << none.err;
    EXPECT_EQ(none.out, "no pictures from 2026-12-03 00:00:00 to 2026-12-03 23:59:59\n");
}

// The reader lists the earliest 5000 pictures of a span; the listing says so when it reaches that.
TEST(TarnPicturesLimitTest, SaysWhenTheListReachesTheReadersLimit) {
    TempDir dir;
    rfssim::Scenario s;
    s.layout = rfssim::StoreLayout::Directory;
    s.channels = 1;
    s.video = tinyVideo();
    s.partitions = {rfssim::PartitionSettings{2, 0x0F}};
    s.pictures = {series(0, "2026-12-01 00:00:00", "2026-12-01 01:23:21", 1, rfs::RecNormal, 0)};  // 5001
    const std::string store = (dir.path() / "store").string();
    rfssim::writeStore(s, store);

    struct Case {
        const char* to;
        std::size_t count;
        bool atLimit;
        const char* last;
    };
    const Case cases[] = {
        {"2026-12-01 01:23:18", 4999, false, "2026-12-01 01:23:18"},
        {"2026-12-01 01:23:20", 5000, true, "2026-12-01 01:23:19"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> args = {
            "pictures", store, "--store-channels", "1", "--from", "2026-12-01 00:00:00", "--to", c.to};
        const CommandResult json = tarn(with(args, {"--json"}));
        ASSERT_EQ(json.exitStatus, 0) << json.err;
        const nlohmann::json answer = nlohmann::json::parse(json.out, nullptr, false);
        EXPECT_EQ(answer["at_reader_limit"], c.atLimit) << c.to;
        ASSERT_EQ(answer["pictures"].size(), c.count) << c.to;
        EXPECT_EQ(answer["pictures"].back()["time"], c.last) << c.to;

        const CommandResult text = tarn(args);
        const std::string note = "the list stops at the reader's limit of 5000 pictures";
        EXPECT_EQ(text.out.find(note) != std::string::npos, c.atLimit) << c.to;
    }
}
