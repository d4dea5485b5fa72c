// `tarn export` run as a user runs it: the MP4 file it writes is judged by ffprobe and ffmpeg and held
// against the frame records of the store's data files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <iterator>

#include "Mp4Probe.h"
#include "ScenarioStores.h"
#include "StoredFrames.h"
#include "TarnCommand.h"
#include "TempDir.h"

namespace {

using rfssim::VideoCodecKind;

// The frame records of one store channel, in the order the recorder wrote its events.
std::vector<StoredFrame> channelFrames(const ScenarioStore& store, int storeChannel) {
    struct Placed {
        int64_t start;
        std::filesystem::path file;
        const rfssim::WrittenEvent* event;
    };
    std::vector<Placed> events;
    for (const rfssim::WrittenFile& f : store.manifest.files)
        if (f.storeChannel == storeChannel)
            for (const rfssim::WrittenEvent& e : f.events)
                events.push_back({rfs::toEpochSeconds(e.start), store.path / ("file" + std::to_string(f.fileIndex)), &e});
    std::stable_sort(events.begin(), events.end(), [](const Placed& a, const Placed& b) { return a.start < b.start; });
    std::vector<StoredFrame> frames;
    for (const Placed& p : events) {
        auto more = readStoredFrames(p.file, p.event->dataStart, p.event->dataLen);
        frames.insert(frames.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    return frames;
}

uint64_t microseconds(const std::string& text) {
    return static_cast<uint64_t>(rfs::toEpochSeconds(*rfs::parseTime(text))) * 1'000'000;
}

// What an export of [from, to] holds: from the first key frame captured at or after `from` to the last
// record captured in the second `to`.
std::vector<StoredFrame> exportedPart(const std::vector<StoredFrame>& all, const std::string& from,
                                      const std::string& to) {
    const uint64_t fromUs = microseconds(from);
    const uint64_t endUs = microseconds(to) + 1'000'000;
    auto first = std::find_if(all.begin(), all.end(), [&](const StoredFrame& f) {
        return f.header.frameType == rfs::FrameI && f.header.Time >= fromUs;
    });
    auto last = std::find_if(first, all.end(), [&](const StoredFrame& f) { return f.header.Time >= endUs; });
    return {first, last};
}

std::vector<StoredFrame> ofType(const std::vector<StoredFrame>& frames, bool audio) {
    std::vector<StoredFrame> out;
    std::copy_if(frames.begin(), frames.end(), std::back_inserter(out),
                 [&](const StoredFrame& f) { return (f.header.frameType == rfs::FrameAudio) == audio; });
    return out;
}

void writePayloads(const std::filesystem::path& file, const std::vector<StoredFrame>& frames) {
    std::ofstream out(file, std::ios::binary);
    for (const StoredFrame& f : frames)
        out.write(reinterpret_cast<const char*>(f.payload.data()), static_cast<std::streamsize>(f.payload.size()));
}

std::vector<std::string> exportArguments(const ScenarioStore& store, const std::string& channel,
                                         const std::string& from, const std::string& to,
                                         const std::filesystem::path& output, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"export", store.path.string(), "--channel", channel, "--from", from,
                                     "--to",   to,                  "-o",        output.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

CommandResult exportSpan(const ScenarioStore& store, const std::string& channel, const std::string& from,
                         const std::string& to, const std::filesystem::path& output,
                         std::vector<std::string> extra = {}) {
    return tarn(exportArguments(store, channel, from, to, output, std::move(extra)));
}

// Runs tarn with SIGINT pending, as if Ctrl-C came the moment it started; its standard error goes to
// errors. The exit status.
int runInterrupted(const std::vector<std::string>& args, const std::filesystem::path& errors) {
    const pid_t pid = fork();
    if (pid == 0) {
        sigset_t interrupt;
        sigemptyset(&interrupt);
        sigaddset(&interrupt, SIGINT);
        sigprocmask(SIG_BLOCK, &interrupt, nullptr);
        kill(getpid(), SIGINT);
        const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = open("/dev/null", O_WRONLY);
        dup2(err, STDERR_FILENO);
        dup2(null, STDOUT_FILENO);
        std::vector<std::string> all = {TARN_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(TARN_PATH, argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

struct ExportCase {
    const char* name;
    VideoCodecKind codec;
    const char* codecName;  // as ffprobe names it, and the raw stream format of ffmpeg
    std::string from;
    std::string to;
    bool contiguous;  // no gap between the recordings of the span
    rfssim::StoreKind kind = rfssim::StoreKind::HardDisk;

    friend void PrintTo(const ExportCase& c, std::ostream* out) { *out << c.name; }
};

const ExportCase kCases[] = {
    {"H264AcrossEventBoundaries", VideoCodecKind::H264, "h264", "2026-12-01 09:00:05", "2026-12-01 09:00:24", true},
    {"H264AcrossAGap", VideoCodecKind::H264, "h264", "2026-12-01 09:00:20", "2026-12-01 09:01:09", false},
    {"H265AcrossEventBoundaries", VideoCodecKind::H265, "hevc", "2026-12-01 09:00:05", "2026-12-01 09:00:24", true},
    {"SdCardH264AcrossAGap", VideoCodecKind::H264, "h264", "2026-12-01 09:00:05", "2026-12-01 09:01:09", false,
     rfssim::StoreKind::SdCard},
    {"SdCardH265AcrossEventBoundaries", VideoCodecKind::H265, "hevc", "2026-12-01 09:00:05", "2026-12-01 09:00:24",
     true, rfssim::StoreKind::SdCard},
};

class TarnExportTest : public ::testing::TestWithParam<ExportCase> {
protected:
    TempDir dir;
};

TEST_P(TarnExportTest, FileHoldsEveryFrameOfTheSpanUnchanged) {
    const ExportCase& c = GetParam();
    const ScenarioStore& store = exportStore(c.codec, c.kind);
    const auto output = dir.path() / "ch1.mp4";
    const CommandResult r = exportSpan(store, "1", c.from, c.to, output);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(r.out.find(output.string()), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("exporting: 100%"), std::string::npos) << r.err;

    const auto expected = exportedPart(channelFrames(store, 0), c.from, c.to);
    const auto video = ofType(expected, false);
    const auto audio = ofType(expected, true);
    ASSERT_FALSE(video.empty());
    ASSERT_FALSE(audio.empty());

    const auto info = probe(output);
    ASSERT_EQ(info["streams"].size(), 2u);
    const auto& v = info["streams"][0];
    EXPECT_EQ(v["codec_name"], c.codecName);
    EXPECT_EQ(v["width"], 160);
    EXPECT_EQ(v["height"], 96);
    EXPECT_EQ(v["nb_frames"], std::to_string(video.size()));
    EXPECT_EQ(info["streams"][1]["codec_name"], "pcm_alaw");
    EXPECT_EQ(info["streams"][1]["nb_frames"], std::to_string(audio.size()));

    const auto packets = ::packets(output, "v");
    for (std::size_t i = 1; i < packets.size(); ++i)
        ASSERT_LT(packets[i - 1].pts, packets[i].pts) << "packet " << i;
    if (c.contiguous) {
        const double span = static_cast<double>(video.back().header.Time - video.front().header.Time) / 1e6 + 0.04;
        EXPECT_NEAR(std::stod(v["duration"].get<std::string>()), span, 0.04);
    }

    const auto source = dir.path() / "source.es";
    writePayloads(source, video);
    EXPECT_EQ(frameChecksums("-i " + quoted(output), "v"),
              frameChecksums(std::string("-f ") + c.codecName + " -i " + quoted(source), "v", kRawSource));
    const auto sound = dir.path() / "source.alaw";
    writePayloads(sound, audio);
    EXPECT_EQ(ffmpegOutput("-i " + quoted(output) + " -map 0:a -f md5 -"),
              ffmpegOutput("-f alaw -ar 8000 -ac 1 -i " + quoted(sound) + " -f md5 -", kRawSource));
}

INSTANTIATE_TEST_SUITE_P(Spans, TarnExportTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TarnExport, ACalendarDayChangeIsNoFailure) {
    TempDir dir;
    const ScenarioStore& store = mixedStore(rfssim::StoreLayout::Directory);
    const std::string from = "2026-12-01 23:59:50";
    const std::string to = "2026-12-02 00:00:09";
    const CommandResult r = exportSpan(store, "3", from, to, dir.path() / "midnight.mp4");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const auto video = ofType(exportedPart(channelFrames(store, 2), from, to), false);
    EXPECT_EQ(probe(dir.path() / "midnight.mp4")["streams"][0]["nb_frames"], std::to_string(video.size()));
}

TEST(TarnExport, RefusesInOneSentenceAndWritesNothing) {
    TempDir dir;
    const ScenarioStore& store = exportStore(VideoCodecKind::H264);
    const auto output = dir.path() / "out.mp4";
    const std::string from = "2026-12-01 09:00:00";
    const std::string to = "2026-12-01 09:00:09";
    struct Case {
        const char* name;
        std::string channel;
        std::string from;
        std::string to;
        std::string output;
        std::vector<std::string> extra;
        const char* saying;
    };
    const Case cases[] = {
        {"no recordings in the span", "1", "2026-12-01 08:00:00", "2026-12-01 08:59:59", output, {}, "has no recordings"},
        {"not an MP4 name", "1", from, to, (dir.path() / "out.avi").string(), {}, "must end in .mp4"},
        {"sub stream without the channel count", "1", from, to, output, {"--stream", "sub"}, "--store-channels"},
        {"a stream that is not one", "1", from, to, output, {"--stream", "both"}, "main or sub"},
        {"a channel that is no number", "x", from, to, output, {}, "one channel number"},
        {"a channel the recorder lacks", "3", from, to, output, {"--store-channels", "2"}, "does not exist"},
        {"an empty span", "1", to, from, output, {}, "the span is empty"},
        {"a folder that does not exist", "1", from, to, (dir.path() / "none" / "out.mp4").string(), {},
         "cannot be created"},
    };
    for (const Case& c : cases) {
        const CommandResult r = exportSpan(store, c.channel, c.from, c.to, c.output, c.extra);
        EXPECT_TRUE(refusedInOneLine(r)) << c.name;
        EXPECT_NE(r.err.find(c.saying), std::string::npos) << c.name << ": " << r.err;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << c.name;
    }
}

TEST(TarnExport, KeepsAnExistingFileUnlessToldToReplaceIt) {
    TempDir dir;
    const ScenarioStore& store = exportStore(VideoCodecKind::H264);
    const auto output = dir.path() / "out.mp4";
    std::ofstream(output) << "evidence";
    const std::string from = "2026-12-01 09:00:00";
    const std::string to = "2026-12-01 09:00:03";
    EXPECT_TRUE(refusedInOneLine(exportSpan(store, "2", from, to, output)));
    EXPECT_EQ(std::filesystem::file_size(output), 8u);
    EXPECT_EQ(exportSpan(store, "2", from, to, output, {"--overwrite"}).exitStatus, 0);
    EXPECT_EQ(probe(output)["streams"][0]["nb_frames"], "100");
}

// The file is written under another name and renamed when complete: a failed export leaves the file it was
// to replace as it was, and nothing else behind.
TEST(TarnExport, AFailedWriteLeavesTheTargetAsItWas) {
    TempDir dir;
    const auto output = dir.path() / "out.mp4";
    std::ofstream(output) << "evidence";
    // Files of this shell may not grow past 64 KiB; writes past that fail instead of stopping tarn.
    const CommandResult r = runCommand(
        "trap '' XFSZ; ulimit -f 64; " +
        tarnCommandLine(exportArguments(exportStore(VideoCodecKind::H264), "1", "2026-12-01 09:00:00",
                                        "2026-12-01 09:00:29", output, {"--overwrite"})));
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find(output.string() + " was left as it was"), std::string::npos) << r.err;
    EXPECT_EQ(std::filesystem::file_size(output), 8u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(TarnExport, AnInterruptedExportLeavesNothingBehind) {
    TempDir dir;
    const auto output = dir.path() / "out.mp4";
    const auto errors = dir.path().parent_path() / (dir.path().filename().string() + ".err");
    const int status = runInterrupted(exportArguments(exportStore(VideoCodecKind::H264), "1", "2026-12-01 09:00:00",
                                                      "2026-12-01 09:00:29", output),
                                      errors);
    std::ifstream in(errors);
    const std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(errors);
    EXPECT_EQ(status, 1) << message;
    EXPECT_NE(message.find("interrupted"), std::string::npos) << message;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
