// MP4 files of other makers, plain and fragmented, read as frame records through FFmpeg's demuxer.
#include <gtest/gtest.h>

#include "Mp4Fixture.h"

namespace {

struct ForeignCase {
    const char* name;
    const char* muxerFlags;
};

class Mp4ForeignFileTest : public Mp4Fixture, public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(Mp4ForeignFileTest, PacketsBecomeRecordsThatDecodeLikeTheFile) {
    const auto path = dir.path() / "foreign.mp4";
    ffmpegOutput(std::string("-f lavfi -i testsrc=size=160x96:rate=25:duration=2 ") +
                     "-f lavfi -i sine=frequency=440:sample_rate=16000:duration=2 -c:v libx264 -g 10 -bf 0 "
                     "-pix_fmt yuv420p -c:a aac -b:a 32k " +
                     GetParam().muxerFlags + " " + quoted(path),
                 "error");
    kvplay::record::CKVMP4RecordFile file;
    ASSERT_EQ(file.Open(path.c_str(), true, 0, 0, false, nullptr), 0);

    const auto probed = packets(path, "v");
    ASSERT_EQ(probed.size(), 50u);
    std::vector<uint8_t> video, audio, buffer(1 << 20);
    std::size_t videoFrames = 0;
    int keyFrames = 0;
    for (;;) {
        int length = static_cast<int>(buffer.size());
        if (file.ReadFrame(buffer.data(), length) != 0)
            break;
        ASSERT_GE(length, static_cast<int>(rfs::kFrameHeaderSize));
        const auto header = rfs::readFrameHeader(buffer.data());
        ASSERT_TRUE(rfs::isFrameHeader(header));
        ASSERT_EQ(header.framesize + rfs::kFrameHeaderSize, static_cast<std::size_t>(length));
        auto& stream = header.frameType == rfs::FrameAudio ? audio : video;
        stream.insert(stream.end(), buffer.begin() + rfs::kFrameHeaderSize, buffer.begin() + length);
        if (header.frameType == rfs::FrameAudio) {
            EXPECT_EQ(header.codec, 10);
            EXPECT_EQ(header.audio.sampleRate, 16000u);
            continue;
        }
        EXPECT_EQ(header.codec, 2);
        EXPECT_EQ(header.video.width, 160);
        EXPECT_EQ(header.video.height, 96);
        ASSERT_LT(videoFrames, probed.size());
        // ffprobe prints microseconds truncated, the records round them.
        EXPECT_NEAR(header.Time / 1e6, probed[videoFrames].pts, 2e-6) << "frame " << videoFrames;
        EXPECT_EQ(header.frameType == rfs::FrameI, probed[videoFrames].key) << "frame " << videoFrames;
        keyFrames += header.frameType == rfs::FrameI ? 1 : 0;
        ++videoFrames;
    }
    EXPECT_EQ(videoFrames, probed.size());
    EXPECT_EQ(keyFrames, 5);

    // The payloads, back to back, are elementary streams that decode like the file itself. The
    // file's edit list would drop the encoder's priming samples, which the records keep.
    const auto videoStream = dir.path() / "video.h264";
    const auto audioStream = dir.path() / "audio.aac";
    writeFile(videoStream, video);
    writeFile(audioStream, audio);
    EXPECT_EQ(frameChecksums("-i " + quoted(videoStream), "v", kRawSource), frameChecksums("-i " + quoted(path), "v"));
    EXPECT_EQ(frameChecksums("-i " + quoted(audioStream), "a", kRawSource), frameChecksums("-ignore_editlist 1 -i " + quoted(path), "a"));
}

INSTANTIATE_TEST_SUITE_P(Layouts, Mp4ForeignFileTest,
                         ::testing::Values(ForeignCase{"Plain", ""},
                                           ForeignCase{"Fragmented", "-movflags frag_keyframe+empty_moov"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Mp4ForeignFileTest, SeeksByTheIndexOfAPlainFile) {
    const auto path = dir.path() / "foreign.mp4";
    ffmpegOutput("-f lavfi -i testsrc=size=160x96:rate=25:duration=2 -c:v libx264 -g 10 -bf 0 -pix_fmt yuv420p " +
                     quoted(path),
                 "error");
    kvplay::record::CKVMP4RecordFile file;
    ASSERT_EQ(file.Open(path.c_str(), true, 0, 0, false, nullptr), 0);
    EXPECT_EQ(file.KeyFrameCount(), 5);
    int64_t first = -1, last = -1;
    ASSERT_EQ(file.GetTimeRange(first, last), 0);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 2'000'000);

    std::vector<uint8_t> buffer(1 << 20);
    ASSERT_EQ(file.SeekToKeyFrame(3), 0);
    int length = static_cast<int>(buffer.size());
    ASSERT_EQ(file.ReadFrame(buffer.data(), length), 0);
    const auto header = rfs::readFrameHeader(buffer.data());
    EXPECT_EQ(header.frameType, rfs::FrameI);
    EXPECT_EQ(header.Time, 30 * static_cast<uint64_t>(kFrameUs));
    EXPECT_EQ(file.SeekToKeyFrame(5), -1);
}

}  // namespace
