// The payloads are real video and sound: cut out of a data file, they are judged by ffprobe and ffmpeg.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

#include "DataFileCheck.h"
#include "RunCommand.h"
#include "StoreReadBack.h"
#include "TempDir.h"
#include "TestScenarios.h"
#include "rfssim/AlawTone.h"
#include "rfssim/ScenePainter.h"
#include "rfssim/StoreWriter.h"

namespace fs = std::filesystem;
using namespace rfssim;

namespace {

void writeFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The frames of the store's first file in use, in the order they were stored.
std::vector<WalkedFrame> storedFrames(const Scenario& scenario, const fs::path& path) {
    const StoreManifest manifest = writeStore(scenario, path);
    const WrittenStore store(path, *scenario.layout);
    const WrittenFile& file = manifest.files.at(0);
    std::vector<WalkedFrame> frames;
    for (WalkedEvent& event :
         walkEvents(store.dataFile(file.partition, file.fileIndex), store.events(file.partition, file.fileIndex)))
        std::move(event.begin(), event.end(), std::back_inserter(frames));
    return frames;
}

std::vector<uint8_t> concatenatePayloads(const std::vector<WalkedFrame>& frames, bool audio) {
    std::vector<uint8_t> stream;
    for (const WalkedFrame& frame : frames)
        if ((frame.header.frameType == rfs::FrameAudio) == audio)
            stream.insert(stream.end(), frame.payload.begin(), frame.payload.end());
    return stream;
}

// NAL unit types of an Annex-B access unit, in order.
std::vector<int> nalTypes(const std::vector<uint8_t>& unit, bool hevc) {
    std::vector<int> types;
    for (std::size_t i = 0; i + 3 < unit.size(); ++i)
        if (unit[i] == 0 && unit[i + 1] == 0 && unit[i + 2] == 1) {
            types.push_back(hevc ? unit[i + 3] >> 1 & 0x3f : unit[i + 3] & 0x1f);
            i += 2;
        }
    return types;
}

struct MediaCase {
    const char* name;
    VideoCodecKind codec;
    StreamKind stream;
    const char* ffprobeCodec;
    std::vector<int> parameterSets;  // NAL types that must precede the picture in each key frame
};

const MediaCase kCases[] = {
    {"h264_main", VideoCodecKind::H264, StreamKind::Main, "h264", {7, 8}},
    {"h264_sub", VideoCodecKind::H264, StreamKind::Sub, "h264", {7, 8}},
    {"h265_main", VideoCodecKind::H265, StreamKind::Main, "hevc", {32, 33, 34}},
    {"h265_sub", VideoCodecKind::H265, StreamKind::Sub, "hevc", {32, 33, 34}},
};

void PrintTo(const MediaCase& c, std::ostream* os) {
    *os << c.name;
}

class RealVideo : public ::testing::TestWithParam<MediaCase> {
protected:
    TempDir dir_;
};

}  // namespace

TEST_P(RealVideo, ElementaryStreamDecodesWithEveryFrame) {
    const MediaCase& c = GetParam();
    Scenario scenario;
    scenario.layout = StoreLayout::Directory;
    scenario.channels = 1;
    scenario.partitions = {{2, 0x0F}};
    scenario.video = tinyVideo(c.codec);
    scenario.subVideo = tinyVideo(c.codec, 96, 64);
    scenario.recordings = {recording(1, c.stream, "2026-12-01 09:00:00", "2026-12-01 09:00:24")};
    const VideoSettings& video = streamVideo(scenario, c.stream);

    const std::vector<WalkedFrame> frames = storedFrames(scenario, dir_.path() / "store");
    const bool hevc = c.codec == VideoCodecKind::H265;
    for (const WalkedFrame& frame : frames) {
        if (frame.header.frameType != rfs::FrameI)
            continue;
        const std::vector<int> types = nalTypes(frame.payload, hevc);
        for (int parameterSet : c.parameterSets)
            EXPECT_NE(std::find(types.begin(), types.end(), parameterSet), types.end())
                << "key frame " << frame.header.frameNo << " lacks NAL type " << parameterSet;
    }

    const fs::path es = dir_.path() / (hevc ? "es.h265" : "es.h264");
    writeFile(es, concatenatePayloads(frames, false));
    const CommandResult probe = runCommand(std::string(FFPROBE_PATH) +
                                           " -v error -count_frames -show_entries "
                                           "stream=codec_name,width,height,nb_read_frames -of json " +
                                           quoted(es));
    ASSERT_EQ(probe.exitStatus, 0) << probe.err;
    const nlohmann::json stream = nlohmann::json::parse(probe.out).at("streams").at(0);
    EXPECT_EQ(stream.at("codec_name"), c.ffprobeCodec);
    EXPECT_EQ(stream.at("width"), video.width);
    EXPECT_EQ(stream.at("height"), video.height);
    EXPECT_EQ(stream.at("nb_read_frames"), std::to_string(24 * video.fps));
    EXPECT_EQ(frames.size(), 24u * video.fps);

    const CommandResult decode = runCommand(std::string(FFMPEG_PATH) + " -v error -i " + quoted(es) + " -f null -");
    EXPECT_EQ(decode.exitStatus, 0);
    EXPECT_EQ(decode.err, "") << "the decoder complained";
}

INSTANTIATE_TEST_SUITE_P(Codecs, RealVideo, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RealAudio, AlawBlocksDecodeToTheChannelsTone) {
    TempDir dir;
    Scenario scenario;
    scenario.layout = StoreLayout::Directory;
    scenario.channels = 3;
    scenario.partitions = {{1, 0x0F}};
    scenario.video = tinyVideo();
    Recording r = recording(3, StreamKind::Main, "2026-12-01 09:00:00", "2026-12-01 09:00:04");
    r.audio = true;
    scenario.recordings = {r};

    const std::vector<WalkedFrame> frames = storedFrames(scenario, dir.path() / "store");
    const auto firstAudio = std::find_if(frames.begin(), frames.end(),
                                         [](const WalkedFrame& f) { return f.header.frameType == rfs::FrameAudio; });
    ASSERT_NE(firstAudio, frames.end());
    const int64_t firstSample = sampleNumberAt(static_cast<int64_t>(firstAudio->header.Time));

    const fs::path alaw = dir.path() / "sound.alaw";
    const fs::path pcm = dir.path() / "sound.s16";
    writeFile(alaw, concatenatePayloads(frames, true));
    const CommandResult decode = runCommand(std::string(FFMPEG_PATH) + " -v error -f alaw -ar 8000 -ac 1 -i " +
                                            quoted(alaw) + " -f s16le " + quoted(pcm));
    ASSERT_EQ(decode.exitStatus, 0) << decode.err;

    const std::vector<uint8_t> bytes = readBytes(pcm, 0, fs::file_size(pcm));
    ASSERT_EQ(bytes.size(), 4u * kAudioSampleRate * 2) << "four seconds of samples";
    int loudest = 0;
    for (std::size_t n = 0; n < bytes.size() / 2; ++n) {
        const auto decoded = static_cast<int16_t>(bytes[2 * n] | bytes[2 * n + 1] << 8);
        loudest = std::max(loudest, std::abs(int{decoded}));
        const int expected = toneSample(3, firstSample + static_cast<int64_t>(n));
        // A-law keeps about five significant bits.
        ASSERT_LE(std::abs(decoded - expected), std::abs(expected) / 16 + 16) << "sample " << n;
    }
    EXPECT_GT(loudest, 4000) << "a tone, not silence";
}

// Grain changes every picture but stays the same for the same picture number, so stores stay
// reproducible.
TEST(ScenePainterGrain, NoiseIsFreshPerPictureAndReproducible) {
    ScenePainter clean(64, 48, 1, "CH 1");
    ScenePainter grainy(64, 48, 1, "CH 1", 4);
    ScenePainter again(64, 48, 1, "CH 1", 4);
    const int64_t time = 1'764'579'600'000'000;
    const std::vector<uint8_t> first = grainy.paint(time, 7).y;
    EXPECT_NE(first, clean.paint(time, 7).y);
    EXPECT_EQ(first, again.paint(time, 7).y);
    EXPECT_NE(first, grainy.paint(time, 8).y);
}
