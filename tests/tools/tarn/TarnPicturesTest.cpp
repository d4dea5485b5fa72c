// `tarn pictures` and `tarn picture` on a store with pictures on two channels and both streams. The
// simulator writes pictures of first streams only; since a store does not record the recorder's channel
// count, the store of a four-channel scenario is read as that of a two-channel recorder, whose second
// streams lie at store channels 3 and 4.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "Mp4Probe.h"
#include "ScenarioStores.h"
#include "TarnCommand.h"
#include "TempDir.h"
#include "rfs/FrameRecord.h"
#include "rfs/PictureRecords.h"
#include "rfssim/StoreWriter.h"

namespace fs = std::filesystem;

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
    fs::path path;
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

    static CommandResult picture(const std::string& channel, const std::string& stream, const std::string& time,
                                 const fs::path& output, std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"picture",  store(), "--store-channels", kChannels, "--channel", channel,
                                         "--stream", stream,  "--time",           time,      "-o",        output};
        args.insert(args.end(), extra.begin(), extra.end());
        return tarn(args);
    }

    static WrittenStore* shared;
    TempDir out;
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

TEST_F(TarnPicturesTest, WritesTheStoredJpegByteForByte) {
    struct Case {
        const char* name;
        std::string channel;
        std::string stream;
        std::string time;
        int storeChannel;
    };
    const Case cases[] = {
        {"at the start of its block", "1", "main", "2026-12-01 09:00:10", 0},
        {"after leading bytes", "2", "main", "2026-12-01 09:00:15", 1},
        {"sub stream", "1", "sub", "2026-12-01 09:00:00", 2},
        {"across two blocks", "2", "sub", "2026-12-02 10:00:01", 3},
    };
    for (const Case& c : cases) {
        const fs::path file = out.path() / (std::string("picture-") + std::to_string(c.storeChannel) + ".jpg");
        const CommandResult r = picture(c.channel, c.stream, c.time, file);
        ASSERT_EQ(r.exitStatus, 0) << c.name << ": " << r.err;
        const std::vector<uint8_t>& stored = shared->pictureFile(c.storeChannel).jpeg;
        EXPECT_EQ(readFile(file), stored) << c.name;
        EXPECT_EQ(r.out, "wrote the picture of channel " + c.channel + " (" + c.stream + " stream) taken at " + c.time +
                             " (" + std::to_string(stored.size()) + " bytes of JPEG) to " + file.string() + "\n");
        const nlohmann::json probed = probe(file);
        ASSERT_EQ(probed["streams"].size(), 1u) << c.name;
        EXPECT_EQ(probed["streams"][0]["codec_name"], "mjpeg") << c.name;
        EXPECT_EQ(frameChecksums("-i " + quoted(file), "v").size(), 1u) << c.name;
    }
}

TEST_F(TarnPicturesTest, OverwriteReplacesAnExistingFile) {
    const fs::path file = out.path() / "picture.jpg";
    writeFile(file, {'o', 'l', 'd'});
    const CommandResult r = picture("1", "main", "2026-12-01 09:00:20", file, {"--overwrite"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(readFile(file), shared->pictureFile(0).jpeg);
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
}

TEST_F(TarnPicturesTest, RefusesWithoutTouchingTheOutput) {
    const fs::path existing = out.path() / "existing.jpg";
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    writeFile(existing, old);
    const fs::path fresh = out.path() / "fresh.jpg";
    struct Case {
        const char* name;
        std::string channel;
        std::string stream;
        std::string time;
        fs::path output;
        std::string message;
    };
    const Case cases[] = {
        {"no picture at that second", "1", "main", "2026-12-01 09:00:01", fresh,
         "tarn: channel 1 (main stream) took no picture at 2026-12-01 09:00:01\n"},
        {"a picture of another stream only", "2", "main", "2026-12-02 10:00:00", fresh,
         "tarn: channel 2 (main stream) took no picture at 2026-12-02 10:00:00\n"},
        {"a channel beyond --store-channels", "3", "main", "2026-12-01 09:00:00", fresh,
         "tarn: channel 3 does not exist: the recorder has channels 1 to 2 (--store-channels)\n"},
        {"the file exists", "1", "main", "2026-12-01 09:00:00", existing,
         "tarn: " + existing.string() + " already exists; add --overwrite to replace it\n"},
        {"not a JPEG file name", "1", "main", "2026-12-01 09:00:00", out.path() / "fresh.png",
         "tarn: the output file must end in .jpg or .jpeg, not \"" + (out.path() / "fresh.png").string() + "\"\n"},
        {"a malformed time", "1", "main", "2026-12-01 9:00", fresh,
         "tarn: --time takes a time of the form \"YYYY-MM-DD HH:MM:SS\" (years 2000 to 2063), not \"2026-12-01 "
         "9:00\"\n"},
    };
    for (const Case& c : cases) {
        const CommandResult r = picture(c.channel, c.stream, c.time, c.output);
        EXPECT_TRUE(refusedInOneLine(r)) << c.name;
        EXPECT_EQ(r.err, c.message) << c.name;
    }
    EXPECT_EQ(readFile(existing), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
}

// A store of its own, since the test damages it.
TEST(TarnPictureDamageTest, RefusesADamagedFrameRecordAndWritesNothing) {
    struct Case {
        const char* name;
        void (*damage)(rfs::KVFrameHeader&);
        std::string message;
    };
    const std::string picture = "the picture of channel 2 (main stream) taken at 2026-12-01 09:00:05 is damaged: ";
    const Case cases[] = {
        {"no frame tag", [](rfs::KVFrameHeader& h) { h.FrameTag = 0; }, picture + "its frame record has no frame tag"},
        {"longer than stored", [](rfs::KVFrameHeader& h) { h.framesize += 8; }, picture + "its frame record claims "},
    };
    for (const Case& c : cases) {
        const WrittenStore store;
        const rfssim::WrittenFile& file = store.pictureFile(1);
        const uint32_t position = file.pictures.front().position;
        std::fstream data(store.path / ("file" + std::to_string(file.fileIndex)),
                          std::ios::in | std::ios::out | std::ios::binary);
        rfs::KVFrameHeader header{};
        data.seekg(rfs::pictureBlockPosition(position) + rfs::externLength(position));
        data.read(reinterpret_cast<char*>(&header), sizeof header);
        c.damage(header);
        data.seekp(rfs::pictureBlockPosition(position) + rfs::externLength(position));
        data.write(reinterpret_cast<const char*>(&header), sizeof header);
        data.close();

        const fs::path output = store.dir.path() / "picture.jpg";
        const CommandResult r = tarn({"picture", store.path.string(), "--store-channels", kChannels, "--channel", "2",
                                      "--time", "2026-12-01 09:00:05", "-o", output.string()});
        EXPECT_TRUE(refusedInOneLine(r)) << c.name;
        EXPECT_EQ(r.err.rfind("tarn: " + c.message, 0), 0u) << c.name << ": " << r.err;
        EXPECT_EQ(std::distance(fs::directory_iterator(store.dir.path()), fs::directory_iterator()), 1) << c.name;
    }
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
