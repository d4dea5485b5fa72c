// A recording of more than 4 GiB: 64-bit chunk offsets and a 64-bit media data header.
#include <gtest/gtest.h>

#include "BoxWalker.h"
#include "Mp4Fixture.h"

namespace {

// The stored size of an Annex B payload: each start code becomes a 4-byte length, so a 3-byte
// start code adds one byte.
uint64_t lengthPrefixedSize(const std::vector<uint8_t>& payload) {
    uint64_t size = payload.size();
    for (std::size_t i = 0; i + 3 <= payload.size(); ++i)
        if (payload[i] == 0 && payload[i + 1] == 0 && payload[i + 2] == 1 && (i == 0 || payload[i - 1] != 0))
            ++size;
    return size;
}

class Mp4LargeFileTest : public Mp4Fixture {};

TEST_F(Mp4LargeFileTest, MediaPastFourGiBUsesWideOffsetsAndHeader) {
    constexpr int kFrames = 70;
    constexpr std::size_t kFiller = 64 << 20;  // each P frame carries 64 MiB of filler data
    const auto encoded = encodeVideo(rfssim::VideoCodecKind::H264, kFrames, 50);
    const auto path = dir.path() / "large.mp4";
    kvplay::record::CKVMP4RecordFile file;
    ASSERT_EQ(file.Open(path.c_str(), false, 0, 0, true, nullptr), 0);
    std::vector<uint8_t> payload;
    uint64_t media = 0;
    std::vector<uint64_t> sampleSizes;
    for (int i = 0; i < kFrames; ++i) {
        payload = encoded[i].bytes;
        if (!encoded[i].keyFrame) {
            payload.insert(payload.end(), {0, 0, 0, 1, 0x0C});
            payload.resize(payload.size() + kFiller, 0xFF);
            payload.push_back(0x80);
        }
        const auto record = videoRecord(1, encoded[i].keyFrame, i, kStartUs + i * kFrameUs, 160, 96, payload);
        int length = static_cast<int>(record.size());
        ASSERT_EQ(file.WriteFrame(record.data(), length), 0);
        sampleSizes.push_back(lengthPrefixedSize(payload));
        media += sampleSizes.back();
    }
    ASSERT_EQ(file.Close(), 0);
    ASSERT_GT(media, uint64_t{1} << 32);

    const auto mdat = findBox(path, {"mdat"});
    ASSERT_TRUE(mdat);
    EXPECT_TRUE(mdat->largeSize);
    EXPECT_EQ(mdat->size, media + 16);
    EXPECT_TRUE(findBox(path, {"moov", "trak", "mdia", "minf", "stbl", "co64"}));
    EXPECT_FALSE(findBox(path, {"moov", "trak", "mdia", "minf", "stbl", "stco"}));

    const auto info = probe(path);
    EXPECT_EQ(info["streams"][0]["nb_frames"], std::to_string(kFrames));
    // From the last key frame on; the last packets lie beyond 4 GiB, where the chunk offsets say.
    const auto last = packets(path, "v", "-read_intervals 2.7%");
    ASSERT_EQ(last.size(), 20u);
    EXPECT_TRUE(last.front().key);
    for (std::size_t i = 0; i < last.size(); ++i)
        EXPECT_EQ(last[i].size, sampleSizes[kFrames - last.size() + i]) << "packet " << i;
    EXPECT_GT(last.back().position, uint64_t{1} << 32);
    EXPECT_EQ(last.back().position + last.back().size, mdat->offset + mdat->size);
}

}  // namespace
