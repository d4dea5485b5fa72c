// tarn on an SD card's store, told by its store version or by --sd: what it shows, finds and writes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "ScenarioStores.h"
#include "TarnCommand.h"
#include "TempDir.h"

namespace {

using rfssim::StoreKind;
using rfssim::VideoCodecKind;

const ScenarioStore& card() {
    return exportStore(VideoCodecKind::H264, StoreKind::SdCard);
}

std::vector<char> fileBytes(const std::filesystem::path& file, uint64_t offset, uint64_t length) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::vector<char> bytes(length);
    in.read(bytes.data(), static_cast<std::streamsize>(length));
    return bytes;
}

TEST(TarnSdCard, InfoNamesTheMediumAndSearchesFindItsRecordings) {
    const CommandResult info = tarn({"info", card().path.string(), "--json"});
    ASSERT_EQ(info.exitStatus, 0) << info.err;
    const auto j = nlohmann::json::parse(info.out);
    EXPECT_EQ(j["medium"], "SD card");
    EXPECT_EQ(j["version"], "2.4");
    EXPECT_EQ(j["label_area"], false);

    for (const bool flag : {false, true}) {
        std::vector<std::string> args = {"search",
                                         card().path.string(),
                                         "--store-channels",
                                         "2",
                                         "--from",
                                         "2026-12-01 00:00:00",
                                         "--to",
                                         "2026-12-01 23:59:59",
                                         "--json"};
        if (flag)
            args.push_back("--sd");
        const CommandResult search = tarn(args);
        ASSERT_EQ(search.exitStatus, 0) << search.err;
        const std::size_t events = nlohmann::json::parse(search.out).size();
        std::size_t written = 0;
        for (const rfssim::WrittenFile& f : card().manifest.files)
            written += f.events.size();
        EXPECT_EQ(events, written) << search.out;
    }
    const CommandResult days = tarn({"days", card().path.string(), "--store-channels", "2", "--month", "2026-12"});
    ASSERT_EQ(days.exitStatus, 0) << days.err;
    EXPECT_NE(days.out.find("2026-12-01"), std::string::npos) << days.out;
}

TEST(TarnSdCard, ThumbnailIsTheStoredJpegOfTheRecording) {
    TempDir dir;
    const auto output = dir.path() / "thumb.jpg";
    const CommandResult r = tarn({"thumbnail", card().path.string(), "--store-channels", "2", "--channel", "1",
                                  "--time", "2026-12-01 09:00:15", "-o", output.string()});
    ASSERT_EQ(r.exitStatus, 0) << r.err;

    // The second event of channel 1 (09:00:10..09:00:19) holds that second.
    const rfssim::WrittenEvent* event = nullptr;
    std::filesystem::path dataFile;
    for (const rfssim::WrittenFile& f : card().manifest.files)
        for (const rfssim::WrittenEvent& e : f.events)
            if (f.storeChannel == 0 && e.start.second == 10 && e.start.minute == 0) {
                event = &e;
                dataFile = card().path / ("file" + std::to_string(f.fileIndex));
            }
    ASSERT_NE(event, nullptr);
    const std::vector<char> jpeg = fileBytes(dataFile, event->thumbnailOffset + 40, event->thumbnailLength - 40);
    std::ifstream in(output, std::ios::binary);
    const std::vector<char> written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, jpeg);
}

TEST(TarnSdCard, RefusesWhatACardOrADiskDoesNotHaveInOneSentence) {
    TempDir dir;
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::string disk = exportStore(VideoCodecKind::H264).path.string();
    const Case cases[] = {
        {{"thumbnail", disk, "--store-channels", "2", "--channel", "1", "--time", "2026-12-01 09:00:15", "-o",
          (dir.path() / "t.jpg").string()},
         "only SD cards keep thumbnails"},
        {{"thumbnail", card().path.string(), "--store-channels", "2", "--channel", "2", "--time", "2026-12-01 10:00:00",
          "-o", (dir.path() / "t.jpg").string()},
         "has no recording at 2026-12-01 10:00:00"},
        {{"labels", card().path.string(), "--store-channels", "2"}, "SD cards keep no labels"},
    };
    for (const Case& c : cases) {
        const CommandResult r = tarn(c.args);
        EXPECT_TRUE(refusedInOneLine(r)) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "t.jpg"));
    }
}

}  // namespace
