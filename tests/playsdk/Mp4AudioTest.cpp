// Audio tracks: G.726 stored as A-law, AAC stored without its ADTS headers.
#include <gtest/gtest.h>

#include "BoxWalker.h"
#include "Mp4Fixture.h"

namespace {

using rfssim::VideoCodecKind;

// Audio frames interleaved with video frames of the same capture times.
std::vector<std::vector<uint8_t>> interleave(const std::vector<std::vector<uint8_t>>& video,
                                             const std::vector<std::vector<uint8_t>>& audio) {
    std::vector<std::vector<uint8_t>> records;
    std::size_t a = 0;
    for (const auto& frame : video) {
        const uint64_t time = rfs::readFrameHeader(frame.data()).Time;
        records.push_back(frame);
        while (a < audio.size() && rfs::readFrameHeader(audio[a].data()).Time <= time)
            records.push_back(audio[a++]);
    }
    records.insert(records.end(), audio.begin() + static_cast<std::ptrdiff_t>(a), audio.end());
    return records;
}

struct G726Case {
    const char* name;
    uint8_t codec;
    int codeSize;  // bits per sample
    bool voiceHeader;
};

class Mp4G726Test : public Mp4Fixture, public ::testing::WithParamInterface<G726Case> {};

TEST_P(Mp4G726Test, StoredAsTheAlawOfTheDecodedVoice) {
    const G726Case& c = GetParam();
    const auto source = dir.path() / "voice.g726";
    ffmpegOutput("-f lavfi -i sine=frequency=440:sample_rate=8000:duration=2.2 -ac 1 -c:a g726 -b:a " +
                 std::to_string(8 * c.codeSize) + "k -f g726 " + quoted(source));
    // 51 frames of 40 ms fill whole packets of ffmpeg's raw G.726 reader at every rate.
    constexpr std::size_t kFrames = 51;
    const std::size_t frameBytes = 320 * c.codeSize / 8;
    auto voice = readFile(source);
    ASSERT_GE(voice.size(), kFrames * frameBytes);
    voice.resize(kFrames * frameBytes);
    writeFile(source, voice);

    std::vector<std::vector<uint8_t>> audio;
    for (std::size_t at = 0; at + frameBytes <= voice.size(); at += frameBytes) {
        std::vector<uint8_t> payload;
        if (c.voiceHeader)
            payload = {0x00, 0x01, static_cast<uint8_t>(frameBytes / 2), 0x00};
        payload.insert(payload.end(), voice.begin() + static_cast<std::ptrdiff_t>(at),
                       voice.begin() + static_cast<std::ptrdiff_t>(at + frameBytes));
        const uint64_t time = kStartUs + audio.size() * kFrameUs;
        audio.push_back(audioRecord(c.codec, static_cast<uint32_t>(audio.size()), time, 8000, payload));
    }
    const auto file = writeMp4(interleave(videoRecords(VideoCodecKind::H264, 1, evenTimes(kFrames), 10), audio));

    const auto info = probe(file);
    ASSERT_EQ(info["streams"].size(), 2u);
    EXPECT_EQ(info["streams"][1]["codec_tag_string"], "alaw");
    EXPECT_EQ(info["streams"][1]["nb_frames"], std::to_string(audio.size()));

    const std::string stored = ffmpegOutput("-i " + quoted(file) + " -map 0:a -c copy -f alaw -");
    const std::string expected =
        ffmpegOutput("-f g726 -code_size " + std::to_string(c.codeSize) + " -sample_rate 8000 -i " +
                     quoted(source) + " -c:a pcm_alaw -f alaw -", kRawSource);
    ASSERT_EQ(stored.size(), audio.size() * 320);
    ASSERT_EQ(expected.size(), stored.size());
    EXPECT_TRUE(stored == expected);
}

INSTANTIATE_TEST_SUITE_P(Rates, Mp4G726Test,
                         ::testing::Values(G726Case{"Codec6At32k", 6, 4, false},
                                           G726Case{"Codec38At32kWithVoiceHeader", 38, 4, true},
                                           G726Case{"Codec4At16k", 4, 2, false},
                                           G726Case{"Codec7At40kWithVoiceHeader", 7, 5, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ADTS frames of a real AAC stream, cut at the frame lengths their headers give.
std::vector<std::vector<uint8_t>> adtsFrames(const std::vector<uint8_t>& stream) {
    std::vector<std::vector<uint8_t>> frames;
    for (std::size_t at = 0; at + 7 <= stream.size();) {
        const std::size_t length = (stream[at + 3] & 3) << 11 | stream[at + 4] << 3 | stream[at + 5] >> 5;
        if (length < 7 || at + length > stream.size())
            break;
        frames.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(at),
                            stream.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    }
    return frames;
}

// The same frame with a CRC: protection_absent cleared, two bytes after the 7-byte header.
std::vector<uint8_t> withCrc(std::vector<uint8_t> frame) {
    frame[1] &= 0xFE;
    frame.insert(frame.begin() + 7, {0x12, 0x34});
    const std::size_t length = frame.size();
    frame[3] = static_cast<uint8_t>((frame[3] & 0xFC) | (length >> 11 & 3));
    frame[4] = static_cast<uint8_t>(length >> 3);
    frame[5] = static_cast<uint8_t>((frame[5] & 0x1F) | (length & 7) << 5);
    return frame;
}

class Mp4AacTest : public Mp4Fixture, public ::testing::WithParamInterface<bool> {};

TEST_P(Mp4AacTest, StoresRawFramesAndDecodesLikeTheSource) {
    const bool crc = GetParam();
    const auto source = dir.path() / "sound.aac";
    ffmpegOutput("-f lavfi -i sine=frequency=440:sample_rate=16000:duration=1.2 -ac 1 -c:a aac -b:a 32k -f adts " +
                 quoted(source));
    const auto frames = adtsFrames(readFile(source));
    ASSERT_GE(frames.size(), 10u);
    std::vector<std::vector<uint8_t>> audio;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const uint64_t time = kStartUs + i * 64'000;  // 1024 samples at 16 kHz
        audio.push_back(audioRecord(10, static_cast<uint32_t>(i), time, 16000, crc ? withCrc(frames[i]) : frames[i]));
    }
    const auto file = writeMp4(interleave(videoRecords(VideoCodecKind::H264, 1, evenTimes(30), 10), audio));

    const auto info = probe(file);
    ASSERT_EQ(info["streams"].size(), 2u);
    EXPECT_EQ(info["streams"][1]["codec_name"], "aac");
    EXPECT_EQ(info["streams"][1]["sample_rate"], "16000");
    EXPECT_EQ(info["streams"][1]["channels"], 1);
    const auto stored = packets(file, "a");
    ASSERT_EQ(stored.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(stored[i].size, frames[i].size() - 7) << "frame " << i;
    EXPECT_EQ(frameChecksums("-i " + quoted(file), "a"), frameChecksums("-i " + quoted(source), "a", kRawSource));

    // Every descriptor length covers exactly what follows it.
    const auto esds = findBox(file, {"moov", "trak", "mdia", "minf", "stbl", "stsd", "mp4a"}, 1);
    ASSERT_TRUE(esds);
    const auto entry = boxBody(file, *esds);
    constexpr std::size_t kEntryFields = 28;
    ASSERT_GT(entry.size(), kEntryFields + 12);
    const uint8_t* box = &entry[kEntryFields];
    ASSERT_EQ(std::string(reinterpret_cast<const char*>(box + 4), 4), "esds");
    const std::size_t boxSize = bigEndian(box, 4);
    ASSERT_EQ(kEntryFields + boxSize, entry.size());
    const uint8_t* es = box + 12;
    EXPECT_EQ(es[0], 3);
    EXPECT_EQ(12 + 5 + es[4], boxSize);
    const uint8_t* decoderConfig = es + 5 + 3;
    EXPECT_EQ(decoderConfig[0], 4);
    const uint8_t* info5 = decoderConfig + 5 + 13;
    EXPECT_EQ(info5[0], 5);
    EXPECT_EQ(info5[4], 2);
    const uint8_t* sl = info5 + 5 + 2;
    EXPECT_EQ(decoderConfig[4], sl - (decoderConfig + 5));
    EXPECT_EQ(sl[0], 6);
    EXPECT_EQ(sl[4], 1);
    EXPECT_EQ(sl + 6, box + boxSize);
}

INSTANTIATE_TEST_SUITE_P(Headers, Mp4AacTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "WithCrc" : "WithoutCrc"; });

}  // namespace
