// Reading our own MP4 files back: the frame records that were written, seeking by key frame.
#include <gtest/gtest.h>

#include "Mp4Fixture.h"

namespace {

using rfssim::VideoCodecKind;

class Mp4ReaderTest : public Mp4Fixture {
protected:
    // Video records whose start codes all have 4 bytes, so they come back byte for byte.
    std::vector<std::vector<uint8_t>> fourByteVideo(VideoCodecKind kind, uint8_t codec, int frames, int gop) {
        auto records = videoRecords(kind, codec, evenTimes(frames), gop);
        for (auto& record : records) {
            const auto payload = withFourByteStartCodes(std::span(record).subspan(rfs::kFrameHeaderSize));
            record = makeRecord(rfs::readFrameHeader(record.data()), payload);
        }
        return records;
    }

    void open(kvplay::record::CKVMP4RecordFile& file, const std::filesystem::path& path) {
        ASSERT_EQ(file.Open(path.c_str(), true, 0, 0, false, nullptr), 0);
    }
};

struct AudioCase {
    const char* name;
    VideoCodecKind kind;
    uint8_t videoCodec;
    uint8_t audioCodec;
    std::vector<uint8_t> payloadStart;  // a voice or ADTS header before the tone bytes
};

class Mp4RoundTripTest : public Mp4ReaderTest, public ::testing::WithParamInterface<AudioCase> {};

TEST_P(Mp4RoundTripTest, GivesBackTheRecordsAsWritten) {
    const AudioCase& c = GetParam();
    const auto video = fourByteVideo(c.kind, c.videoCodec, 12, 5);
    std::vector<std::vector<uint8_t>> records;
    for (std::size_t i = 0; i < video.size(); ++i) {
        records.push_back(video[i]);
        const uint64_t time = rfs::readFrameHeader(video[i].data()).Time;
        auto payload = c.payloadStart;
        const auto tone = rfssim::alawToneBlock(1, rfssim::sampleNumberAt(static_cast<int64_t>(time)));
        payload.insert(payload.end(), tone.begin(), tone.end());
        records.push_back(audioRecord(c.audioCodec, static_cast<uint32_t>(i), time, 8000, payload));
    }
    const auto path = writeMp4(records);

    kvplay::record::CKVMP4RecordFile file;
    open(file, path);
    const auto readBack = readAllRecords(file);
    ASSERT_EQ(readBack.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_TRUE(readBack[i] == records[i]) << "record " << i;
}

// An ADTS header (AAC LC, 8 kHz, mono) for a frame of 7 + 320 bytes; the bytes behind it need not
// be real AAC for the round trip.
const std::vector<uint8_t> kAdts{0xFF, 0xF1, 0x6C, 0x40, 0x28, 0xFF, 0xFC};

INSTANTIATE_TEST_SUITE_P(
    Tracks, Mp4RoundTripTest,
    ::testing::Values(AudioCase{"H264Alaw", VideoCodecKind::H264, 1, rfs::CodecG711A, {}},
                      AudioCase{"H265AlawWithVoiceHeader", VideoCodecKind::H265, 7, rfs::CodecG711A, {0, 1, 160, 0}},
                      AudioCase{"H264UlawWithVoiceHeader", VideoCodecKind::H264, 2, rfs::CodecG711U, {0, 1, 160, 0}},
                      AudioCase{"H264AacWithAdts", VideoCodecKind::H264, 1, 10, kAdts}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Mp4ReaderTest, SeeksToKeyFramesAndReportsTheTimeRange) {
    const auto records = fourByteVideo(VideoCodecKind::H264, 1, 12, 5);
    kvplay::record::CKVMP4RecordFile file;
    open(file, writeMp4(records));

    int64_t first = 0, last = 0;
    ASSERT_EQ(file.GetTimeRange(first, last), 0);
    EXPECT_EQ(first, static_cast<int64_t>(kStartUs));
    EXPECT_EQ(last, static_cast<int64_t>(kStartUs + 11 * kFrameUs));
    EXPECT_EQ(file.KeyFrameCount(), 3);

    std::vector<uint8_t> buffer(1 << 20);
    const auto frameAfterSeek = [&]() {
        int length = static_cast<int>(buffer.size());
        EXPECT_EQ(file.ReadFrame(buffer.data(), length), 0);
        return std::vector<uint8_t>(buffer.begin(), buffer.begin() + length);
    };
    ASSERT_EQ(file.SeekToKeyFrame(2), 0);
    EXPECT_TRUE(frameAfterSeek() == records[10]);
    // A time between key frames goes to the next key frame.
    ASSERT_EQ(file.SeekToTime(static_cast<int64_t>(kStartUs + 3 * kFrameUs)), 0);
    EXPECT_TRUE(frameAfterSeek() == records[5]);
    EXPECT_TRUE(frameAfterSeek() == records[6]);
    EXPECT_EQ(file.SeekToTime(static_cast<int64_t>(kStartUs + 11 * kFrameUs)), -1);
    EXPECT_EQ(file.SeekToKeyFrame(3), -1);
}

TEST_F(Mp4ReaderTest, SeekToVirtualKeyFrameGivesItsReferenceFirst) {
    auto records = fourByteVideo(VideoCodecKind::H264, 1, 10, 10);
    records[6][4] = rfs::FrameVirtual;  // listed as a key frame, decodable after frame 0
    kvplay::record::CKVMP4RecordFile file;
    open(file, writeMp4(records));
    EXPECT_EQ(file.KeyFrameCount(), 2);

    ASSERT_EQ(file.SeekToKeyFrame(1), 0);
    const auto readBack = readAllRecords(file);
    ASSERT_EQ(readBack.size(), 5u);
    auto reference = records[0];
    reference[7] |= 0x01;  // decode only
    EXPECT_TRUE(readBack[0] == reference);
    EXPECT_TRUE(readBack[1] == records[6]);
    EXPECT_TRUE(readBack[4] == records[9]);
}

TEST_F(Mp4ReaderTest, OpenRefusesWhatItCannotRead) {
    kvplay::record::CKVMP4RecordFile file;
    EXPECT_EQ(file.Open((dir.path() / "missing.mp4").c_str(), true, 0, 0, false, nullptr), -2);
    const auto foreign = dir.path() / "foreign.mp4";
    std::vector<uint8_t> marked(64, 0);
    std::memcpy(marked.data() + 20, "IMKH", 4);
    writeFile(foreign, marked);
    EXPECT_EQ(file.Open(foreign.c_str(), true, 0, 0, false, nullptr), -5);
}

}  // namespace

namespace {

// Damaged copies of a file we wrote: cut short anywhere, or with a byte of the movie box flipped.
// Opening must fail or reading must end; nothing may be read from outside what the file holds.
TEST_F(Mp4ReaderTest, DamagedFilesAreRefusedOrEndEarly) {
    const auto records = withAlaw(fourByteVideo(VideoCodecKind::H264, 1, 8, 4));
    const auto path = writeMp4(records);
    const auto original = readFile(path);
    const auto damaged = dir.path() / "damaged.mp4";
    const auto readsAtMost = [&](const std::vector<uint8_t>& bytes) {
        writeFile(damaged, bytes);
        kvplay::record::CKVMP4RecordFile file;
        if (file.Open(damaged.c_str(), true, 0, 0, false, nullptr) != 0)
            return;
        EXPECT_LE(readAllRecords(file).size(), records.size());
    };
    for (std::size_t size = 0; size < original.size(); size += 97)
        readsAtMost({original.begin(), original.begin() + static_cast<std::ptrdiff_t>(size)});
    const auto moov = std::search(original.begin(), original.end(), "moov", "moov" + 4) - original.begin();
    for (std::ptrdiff_t at = moov; at < static_cast<std::ptrdiff_t>(original.size()); at += 7) {
        auto bytes = original;
        bytes[static_cast<std::size_t>(at)] ^= 0xA5;
        readsAtMost(bytes);
    }
}

}  // namespace
