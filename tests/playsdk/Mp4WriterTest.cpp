// MP4 files written from frame records, judged by ffprobe and ffmpeg.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "BoxWalker.h"
#include "Mp4Fixture.h"

namespace {

using rfssim::VideoCodecKind;

struct VideoCase {
    const char* name;
    VideoCodecKind kind;
    uint8_t codec;
    const char* codecName;
    const char* tag;
    bool avc1Brand;
};

class Mp4VideoCodecTest : public Mp4Fixture, public ::testing::WithParamInterface<VideoCase> {};

TEST_P(Mp4VideoCodecTest, DecodesLikeTheSourceStreamWithAlawBeside) {
    const VideoCase& c = GetParam();
    constexpr int kFrames = 30;
    const auto records = withAlaw(videoRecords(c.kind, c.codec, evenTimes(kFrames), 10));
    const auto file = writeMp4(records);

    const auto info = probe(file);
    ASSERT_EQ(info["streams"].size(), 2u);
    const auto& video = info["streams"][0];
    EXPECT_EQ(video["codec_name"], c.codecName);
    EXPECT_EQ(video["codec_tag_string"], c.tag);
    EXPECT_EQ(video["width"], 160);
    EXPECT_EQ(video["height"], 96);
    EXPECT_EQ(video["nb_frames"], std::to_string(kFrames));
    const auto& audio = info["streams"][1];
    EXPECT_EQ(audio["codec_name"], "pcm_alaw");
    EXPECT_EQ(audio["codec_tag_string"], "alaw");
    EXPECT_EQ(audio["sample_rate"], "8000");
    EXPECT_EQ(audio["nb_frames"], std::to_string(kFrames));

    // The capture times span 29 frames; the last frame lasts as long as the one before it.
    const double span = (kFrames - 1) * kFrameUs / 1e6;
    EXPECT_NEAR(std::stod(video["duration"].get<std::string>()), span + kFrameUs / 1e6, 1e-6);
    const double fileDuration = std::stod(info["format"]["duration"].get<std::string>());
    EXPECT_GE(fileDuration, span - 1e-9);
    EXPECT_LE(fileDuration, span + kFrameUs / 1e6 + 1e-9);

    const auto list = packets(file, "v");
    ASSERT_EQ(list.size(), static_cast<std::size_t>(kFrames));
    for (std::size_t i = 1; i < list.size(); ++i)
        EXPECT_GT(list[i].pts, list[i - 1].pts) << "packet " << i;

    EXPECT_EQ(frameChecksums("-i " + quoted(file), "v"), frameChecksums("-i " + quoted(sourceStream), "v", kRawSource));
    EXPECT_EQ(frameChecksums("-i " + quoted(file), "a").size(), static_cast<std::size_t>(kFrames));

    const auto ftyp = findBox(file, {"ftyp"});
    ASSERT_TRUE(ftyp);
    const auto brands = boxBody(file, *ftyp);
    const bool listsAvc1 = std::search(brands.begin(), brands.end(), "avc1", "avc1" + 4) != brands.end();
    EXPECT_EQ(listsAvc1, c.avc1Brand);
}

INSTANTIATE_TEST_SUITE_P(Codecs, Mp4VideoCodecTest,
                         ::testing::Values(VideoCase{"H264", VideoCodecKind::H264, 1, "h264", "avc1", true},
                                           VideoCase{"H265", VideoCodecKind::H265, 7, "hevc", "hvc1", false},
                                           VideoCase{"H264Codec9", VideoCodecKind::H264, 9, "h264", "avc1", true},
                                           VideoCase{"H265Codec8", VideoCodecKind::H265, 8, "hevc", "hvc1", false},
                                           // Codec 10 is H.265 for the decoders, so it is labelled as such.
                                           VideoCase{"H265Codec10", VideoCodecKind::H265, 10, "hevc", "hvc1", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TimingCase {
    const char* name;
    std::vector<int64_t> captureMs;
    std::vector<double> expectedPts;
};

class Mp4TimingTest : public Mp4Fixture, public ::testing::WithParamInterface<TimingCase> {};

TEST_P(Mp4TimingTest, SampleTimesFollowCaptureTimes) {
    const TimingCase& c = GetParam();
    std::vector<int64_t> offsetsUs;
    for (int64_t ms : c.captureMs)
        offsetsUs.push_back(ms * 1000);
    const auto file = writeMp4(videoRecords(VideoCodecKind::H264, 1, offsetsUs, 50));
    const auto list = packets(file, "v");
    ASSERT_EQ(list.size(), c.expectedPts.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_NEAR(list[i].pts, c.expectedPts[i], 1e-6) << "packet " << i;
    EXPECT_EQ(frameChecksums("-i " + quoted(file), "v"), frameChecksums("-i " + quoted(sourceStream), "v", kRawSource));
}

INSTANTIATE_TEST_SUITE_P(
    Gaps, Mp4TimingTest,
    ::testing::Values(
        // Each sample lasts until the next one's capture time.
        TimingCase{"Uneven", {0, 40, 100, 120, 200}, {0, 0.04, 0.10, 0.12, 0.20}},
        // A gap in the recording becomes a 40 ms step.
        TimingCase{"TenSecondGap", {0, 40, 10040, 10080, 10120}, {0, 0.04, 0.08, 0.12, 0.16}},
        TimingCase{"BackwardsGap", {10000, 10040, 40, 80}, {0, 0.04, 0.08, 0.12}},
        // A frame captured 20 ms before its predecessor repeats the previous step.
        TimingCase{"EarlierFrame", {0, 40, 120, 100, 140}, {0, 0.04, 0.12, 0.20, 0.24}}),
    [](const auto& info) { return std::string(info.param.name); });

class Mp4LayoutTest : public Mp4Fixture {};

TEST_F(Mp4LayoutTest, VideoOnlyRecordingHasOneTrack) {
    const auto file = writeMp4(videoRecords(VideoCodecKind::H264, 1, evenTimes(12), 5));
    EXPECT_EQ(probe(file)["streams"].size(), 1u);
    EXPECT_TRUE(findBox(file, {"moov", "trak"}, 0));
    EXPECT_FALSE(findBox(file, {"moov", "trak"}, 1));
    const auto list = packets(file, "v");
    ASSERT_EQ(list.size(), 12u);
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i].key, i % 5 == 0) << "packet " << i;
    const auto stss = findBox(file, {"moov", "trak", "mdia", "minf", "stbl", "stss"});
    ASSERT_TRUE(stss);
    const auto body = boxBody(file, *stss);
    ASSERT_EQ(body.size(), 8u + 3 * 4);
    EXPECT_EQ(bigEndian(&body[4], 4), 3u);
    EXPECT_EQ(bigEndian(&body[8], 4), 1u);
    EXPECT_EQ(bigEndian(&body[12], 4), 6u);
    EXPECT_EQ(bigEndian(&body[16], 4), 11u);
}

TEST_F(Mp4LayoutTest, AllKeyFramesLeaveOutTheSyncSampleBox) {
    const auto file = writeMp4(videoRecords(VideoCodecKind::H264, 1, evenTimes(6), 1));
    EXPECT_FALSE(findBox(file, {"moov", "trak", "mdia", "minf", "stbl", "stss"}));
    for (const auto& packet : packets(file, "v"))
        EXPECT_TRUE(packet.key);
    EXPECT_EQ(frameChecksums("-i " + quoted(file), "v"), frameChecksums("-i " + quoted(sourceStream), "v", kRawSource));
}

TEST_F(Mp4LayoutTest, ConstantSizeAudioHasSampleSizeWithoutTable) {
    const auto file = writeMp4(withAlaw(videoRecords(VideoCodecKind::H264, 1, evenTimes(8), 50)));
    const auto stsz = findBox(file, {"moov", "trak", "mdia", "minf", "stbl", "stsz"}, 1);
    ASSERT_TRUE(stsz);
    const auto body = boxBody(file, *stsz);
    ASSERT_EQ(body.size(), 12u);
    EXPECT_EQ(bigEndian(&body[4], 4), 320u);
    EXPECT_EQ(bigEndian(&body[8], 4), 8u);
}

// Every start code after a frame's first one shortened to three bytes (the encoder already mixes
// both kinds): no unit may swallow the next.
TEST_F(Mp4LayoutTest, ThreeByteStartCodesSeparateUnitsToo) {
    auto records = videoRecords(VideoCodecKind::H264, 1, evenTimes(10), 5);
    std::size_t shortened = 0;
    for (auto& record : records) {
        std::vector<uint8_t> payload(record.begin() + rfs::kFrameHeaderSize, record.end());
        for (std::size_t i = 4; i + 4 <= payload.size(); ++i)
            if (payload[i] == 0 && payload[i + 1] == 0 && payload[i + 2] == 0 && payload[i + 3] == 1) {
                payload.erase(payload.begin() + static_cast<std::ptrdiff_t>(i));
                ++shortened;
            }
        const auto header = rfs::readFrameHeader(record.data());
        record = makeRecord(header, payload);
    }
    ASSERT_GT(shortened, 0u);
    const auto file = writeMp4(records);
    EXPECT_EQ(frameChecksums("-i " + quoted(file), "v"), frameChecksums("-i " + quoted(sourceStream), "v", kRawSource));
}

TEST_F(Mp4LayoutTest, FramesBeforeTheFirstKeyFrameAreDropped) {
    auto records = videoRecords(VideoCodecKind::H264, 1, evenTimes(10), 5);
    // Starting in the middle of a group of pictures: P frames 1..4 come first.
    records.erase(records.begin());
    const auto file = writeMp4(records);
    EXPECT_EQ(probe(file)["streams"][0]["nb_frames"], "5");
    EXPECT_TRUE(packets(file, "v").front().key);
}

TEST_F(Mp4LayoutTest, WriterWithoutKeyFrameLeavesTheFileEmpty) {
    auto records = videoRecords(VideoCodecKind::H264, 1, evenTimes(4), 5);
    records.erase(records.begin());
    const auto file = writeMp4(records);
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
}

// The sample entry of codec 3 is a plain version 0 entry: no version 1 fields follow.
TEST_F(Mp4LayoutTest, ImaAdpcmEntryIsVersionZero) {
    auto records = videoRecords(VideoCodecKind::H264, 1, evenTimes(3), 5);
    const std::vector<uint8_t> block(256, 0x11);
    records.push_back(audioRecord(3, 0, kStartUs, 8000, block));
    const auto file = writeMp4(records);
    const auto stsd = findBox(file, {"moov", "trak", "mdia", "minf", "stbl", "stsd"}, 1);
    ASSERT_TRUE(stsd);
    const auto body = boxBody(file, *stsd);
    ASSERT_EQ(body.size(), 8u + 36u);
    EXPECT_EQ(bigEndian(&body[8], 4), 36u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&body[12]), 4), std::string("ms\0a", 4));
    EXPECT_EQ(bigEndian(&body[24], 2), 0u);  // version
    EXPECT_EQ(bigEndian(&body[40], 4), 8000u << 16);
}

}  // namespace
