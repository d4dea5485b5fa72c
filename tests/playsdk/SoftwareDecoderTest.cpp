// The software decoders: every access unit gives its picture at once, the pictures are the ones the
// ffmpeg command line decodes from the same stream, and open refuses or reports what it cannot decode
// the way the engine expects.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "CHisi264Decoder.h"
#include "CHisi265Decoder.h"
#include "CHisiMJPEGDecoder.h"
#include "DecoderCapabilities.h"
#include "FrameRecords.h"
#include "LogSink.h"
#include "Mp4Probe.h"
#include "TempDir.h"
#include "rfssim/JpegEncoder.h"

namespace {

using kvplay::DecodeOutput;
using rfssim::VideoCodecKind;

constexpr int kWidth = 160;  // the pictures of encodeVideo
constexpr int kHeight = 96;
constexpr uint8_t kChannelByte = 0x83;  // channel 3; bit 7 is not part of the channel
constexpr std::size_t kSlack = 64;      // zero bytes every record carries after its payload

using DecoderPtr = std::unique_ptr<kvplay::CSoftwareDecoderBase>;
using MakeDecoder = DecoderPtr (*)(int32_t decodePolicy);

template <typename Decoder>
DecoderPtr make(int32_t decodePolicy) {
    return std::make_unique<Decoder>(decodePolicy);
}

// A decoder class with the codec byte of its frames; the name is the codec's in the decoder's lines.
struct DecoderCase {
    const char* name;
    uint8_t codec;
    MakeDecoder make;
};

const DecoderCase kH264{"h264", rfs::CodecH264, make<kvplay::CHisi264Decoder>};
const DecoderCase kH265{"h265", rfs::CodecH265, make<kvplay::CHisi265Decoder>};
const DecoderCase kMjpeg{"mjpeg", rfs::CodecMjpeg, make<kvplay::CHisiMJPEGDecoder>};

VideoCodecKind videoKind(uint8_t codec) {
    return codec == rfs::CodecH265 ? VideoCodecKind::H265 : VideoCodecKind::H264;
}

// A frame record as the engine hands it to a decoder: header, payload, then the zero slack.
std::vector<uint8_t> frameRecord(uint8_t codec, bool key, std::span<const uint8_t> payload, int width = kWidth,
                                 int height = kHeight, uint8_t frameRate = 25) {
    rfs::KVFrameHeader header{};
    header.frameType = key ? rfs::FrameI : rfs::FrameP;
    header.codec = codec;
    header.channel = kChannelByte;
    header.video.width = static_cast<uint16_t>(width);
    header.video.height = static_cast<uint16_t>(height);
    header.video.frameRate = frameRate;
    header.FrameTag = rfs::KVFrameTag;
    header.framesize = static_cast<uint32_t>(payload.size());
    std::vector<uint8_t> record(rfs::kFrameHeaderSize + payload.size() + kSlack);
    std::memcpy(record.data(), &header, sizeof header);
    std::copy(payload.begin(), payload.end(), record.begin() + rfs::kFrameHeaderSize);
    return record;
}

// The output's planes without row padding, the way ffmpeg writes raw yuv420p.
std::string packedI420(const DecodeOutput& out) {
    std::string bytes;
    const auto appendPlane = [&](const uint8_t* plane, int stride, int width, int height) {
        for (int row = 0; row < height; ++row)
            bytes.append(reinterpret_cast<const char*>(plane) + static_cast<std::ptrdiff_t>(row) * stride,
                         static_cast<std::size_t>(width));
    };
    appendPlane(out.luma, out.lumaStride, out.width, out.height);
    appendPlane(out.chromaU, out.chromaStride, (out.width + 1) / 2, (out.height + 1) / 2);
    appendPlane(out.chromaV, out.chromaStride, (out.width + 1) / 2, (out.height + 1) / 2);
    return bytes;
}

// What the ffmpeg command line decodes from the stream of these access units, as raw yuv420p pictures.
std::vector<std::string> ffmpegPictures(uint8_t codec, const std::vector<rfssim::EncodedPacket>& packets) {
    TempDir dir;
    std::vector<uint8_t> stream;
    for (const auto& packet : packets)
        stream.insert(stream.end(), packet.bytes.begin(), packet.bytes.end());
    const auto file = dir.path() / "stream";
    writeFile(file, stream);
    const std::string format = codec == rfs::CodecH265 ? "hevc" : "h264";
    const std::string raw =
        ffmpegOutput(" -f " + format + " -i " + quoted(file) + " -f rawvideo -pix_fmt yuv420p -", kRawSource);
    const std::size_t size = kWidth * kHeight * 3 / 2;
    std::vector<std::string> pictures;
    for (std::size_t at = 0; at + size <= raw.size(); at += size)
        pictures.push_back(raw.substr(at, size));
    return pictures;
}

// Access units of the simulator's scene: an H.264 or H.265 stream with a key frame first, or JPEG pictures.
std::vector<std::vector<uint8_t>> accessUnits(uint8_t codec, int count) {
    std::vector<std::vector<uint8_t>> units;
    if (codec == rfs::CodecMjpeg) {
        rfssim::ScenePainter painter(kWidth, kHeight, 1, "CH 1");
        for (int i = 0; i < count; ++i)
            units.push_back(rfssim::encodeJpeg(painter.paint(static_cast<int64_t>(kStartUs) + i * kFrameUs, i)));
        return units;
    }
    for (auto& packet : encodeVideo(videoKind(codec), count, count))
        units.push_back(std::move(packet.bytes));
    return units;
}

class SoftwareDecoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvplay::probeDecoderCapabilities();
        kvplay::setLogCapture([this](const std::string& line) { lines_.push_back(line); });
    }
    void TearDown() override {
        kvplay::setLogCapture(nullptr);
        kvplay::probeDecoderCapabilities();
    }

    std::vector<std::string> lines_;
};

struct StreamCase {
    const char* name;
    DecoderCase decoder;
    int32_t decodePolicy;
    int claimedWidth;  // what the headers say; the decoder must report the picture's real size
    int claimedHeight;
    bool fastMode;
};

class StreamDecodeTest : public SoftwareDecoderTest, public ::testing::WithParamInterface<StreamCase> {};

TEST_P(StreamDecodeTest, GivesEachPictureAtOnceAsFFmpegDecodesIt) {
    const StreamCase& c = GetParam();
    const auto packets = encodeVideo(videoKind(c.decoder.codec), 12, 5);
    const auto expected = ffmpegPictures(c.decoder.codec, packets);
    ASSERT_EQ(expected.size(), packets.size());

    const DecoderPtr decoder = c.decoder.make(c.decodePolicy);
    for (std::size_t i = 0; i < packets.size(); ++i) {
        const auto record =
            frameRecord(c.decoder.codec, packets[i].keyFrame, packets[i].bytes, c.claimedWidth, c.claimedHeight);
        DecodeOutput out;
        ASSERT_EQ(decoder->decode(record.data(), &out), kvplay::DecodePicture) << "access unit " << i;
        ASSERT_EQ(out.width, kWidth);
        ASSERT_EQ(out.height, kHeight);
        EXPECT_TRUE(packedI420(out) == expected[i]) << "picture " << i;
    }
    EXPECT_EQ(decoder->fastMode(), c.fastMode);
}

INSTANTIATE_TEST_SUITE_P(Streams, StreamDecodeTest,
                         ::testing::Values(StreamCase{"H264", kH264, 1, kWidth, kHeight, false},
                                           StreamCase{"H265", kH265, 1, kWidth, kHeight, false},
                                           StreamCase{"H264HeaderClaimsFullHdFastMode", kH264, 0, 1920, 1080, true},
                                           StreamCase{"H265HeaderClaimsFullHdFastMode", kH265, 0, 1920, 1080, true},
                                           StreamCase{"H264HeaderClaimsSmallerPicture", kH264, 1, 64, 32, false}),
                         [](const auto& info) { return std::string(info.param.name); });

class RecoveryTest : public SoftwareDecoderTest, public ::testing::WithParamInterface<DecoderCase> {};

// P frames whose reference was never seen are refused or swallowed; the next key frame starts
// correct pictures again.
TEST_P(RecoveryTest, PFramesBeforeAKeyFrameGiveNoPicture) {
    const DecoderCase& c = GetParam();
    const auto packets = encodeVideo(videoKind(c.codec), 10, 5);  // key frames at 0 and 5
    const auto expected = ffmpegPictures(c.codec, packets);
    ASSERT_EQ(expected.size(), packets.size());

    const DecoderPtr decoder = c.make(1);
    for (std::size_t i = 1; i < 5; ++i) {
        const auto record = frameRecord(c.codec, false, packets[i].bytes);
        DecodeOutput out;
        const int32_t result = decoder->decode(record.data(), &out);
        EXPECT_TRUE(result == kvplay::DecodeError || result == kvplay::DecodeNeedMore)
            << "P frame " << i << ": " << result;
    }
    for (std::size_t i = 5; i < packets.size(); ++i) {
        const auto record = frameRecord(c.codec, packets[i].keyFrame, packets[i].bytes);
        DecodeOutput out;
        ASSERT_EQ(decoder->decode(record.data(), &out), kvplay::DecodePicture) << "access unit " << i;
        EXPECT_TRUE(packedI420(out) == expected[i]) << "picture " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Codecs, RecoveryTest, ::testing::Values(kH264, kH265),
                         [](const auto& info) { return std::string(info.param.name); });

// A header that claims no payload must not end the stream for the decoder.
TEST_F(SoftwareDecoderTest, AnEmptyPayloadIsAnErrorAndDecodingGoesOn) {
    const auto packets = encodeVideo(VideoCodecKind::H264, 2, 5);
    kvplay::CHisi264Decoder decoder(1);
    DecodeOutput out;
    auto empty = frameRecord(rfs::CodecH264, true, packets[0].bytes);
    const uint32_t noPayload = 0;
    std::memcpy(empty.data() + offsetof(rfs::KVFrameHeader, framesize), &noPayload, sizeof noPayload);
    EXPECT_EQ(decoder.decode(empty.data(), &out), kvplay::DecodeError);
    for (const auto& packet : packets) {
        const auto record = frameRecord(rfs::CodecH264, packet.keyFrame, packet.bytes);
        EXPECT_EQ(decoder.decode(record.data(), &out), kvplay::DecodePicture);
    }
}

// A chroma plane of a picture as ffmpeg decodes it, before any subsampling of ours.
struct SourcePlane {
    const uint8_t* samples;
    int width;
    int height;
};

// How many samples of an I420 chroma plane lie outside the values of the source samples they were made
// from: the block of columns × rows they cover, widened by one sample each way, as far as a
// resampling filter may reach. Wrong planes, rows or strides put samples outside.
int samplesOutsideTheirSource(const uint8_t* i420, int width, int height, const SourcePlane& source, int columns,
                              int rows) {
    int outside = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int low = 255, high = 0;
            for (int sy = std::max(y * rows - 1, 0); sy <= std::min((y + 1) * rows, source.height - 1); ++sy)
                for (int sx = std::max(x * columns - 1, 0); sx <= std::min((x + 1) * columns, source.width - 1); ++sx) {
                    low = std::min<int>(low, source.samples[sy * source.width + sx]);
                    high = std::max<int>(high, source.samples[sy * source.width + sx]);
                }
            const int sample = i420[y * width + x];
            outside += sample < low || sample > high;
        }
    return outside;
}

struct JpegCase {
    const char* name;
    const char* pixelFormat;  // how the JPEG pictures are sampled
    int width;
    int height;
    int columns;  // source chroma samples per I420 chroma sample, across and down
    int rows;
};

class MjpegDecodeTest : public SoftwareDecoderTest, public ::testing::WithParamInterface<JpegCase> {};

// Pictures sampled 4:2:0 come out exactly as ffmpeg decodes them; others keep ffmpeg's luma and get
// chroma subsampled from ffmpeg's chroma.
TEST_P(MjpegDecodeTest, GivesI420PicturesOfTheDecodedJpeg) {
    const JpegCase& c = GetParam();
    TempDir dir;
    const auto pattern = dir.path() / "p%d.jpg";
    const int pictures = 3;
    ffmpegOutput(" -f lavfi -i testsrc=size=" + std::to_string(c.width) + "x" + std::to_string(c.height) +
                     ":rate=25 -frames:v " + std::to_string(pictures) + " -pix_fmt " + c.pixelFormat +
                     " -c:v mjpeg -f image2 " + quoted(pattern),
                 "error");
    const std::string reference =
        ffmpegOutput(" -i " + quoted(pattern) + " -f rawvideo -pix_fmt " + c.pixelFormat + " -", "error");

    const std::size_t lumaSize = static_cast<std::size_t>(c.width) * c.height;
    const int chromaWidth = (c.width + 1) / 2;
    const int chromaHeight = (c.height + 1) / 2;
    const std::size_t chromaSize = static_cast<std::size_t>(chromaWidth) * chromaHeight;
    const SourcePlane sourceShape{nullptr, c.columns == 2 ? c.width : chromaWidth,
                                  c.rows == 2 ? c.height : chromaHeight};
    const std::size_t sourceChromaSize = static_cast<std::size_t>(sourceShape.width) * sourceShape.height;
    const std::size_t sourceSize = lumaSize + 2 * sourceChromaSize;
    ASSERT_EQ(reference.size(), pictures * sourceSize);

    kvplay::CHisiMJPEGDecoder decoder(1);
    for (int n = 0; n < pictures; ++n) {
        const auto jpeg = readFile(dir.path() / ("p" + std::to_string(n + 1) + ".jpg"));
        const auto record = frameRecord(rfs::CodecMjpeg, true, jpeg, c.width, c.height);
        DecodeOutput out;
        ASSERT_EQ(decoder.decode(record.data(), &out), kvplay::DecodePicture) << "picture " << n;
        ASSERT_EQ(out.width, c.width);
        ASSERT_EQ(out.height, c.height);
        const std::string picture = packedI420(out);
        const std::string source = reference.substr(n * sourceSize, sourceSize);
        if (c.columns == 1 && c.rows == 1) {
            EXPECT_TRUE(picture == source) << "picture " << n;
            continue;
        }
        EXPECT_TRUE(picture.compare(0, lumaSize, source, 0, lumaSize) == 0) << "luma of picture " << n;
        for (std::size_t plane = 0; plane < 2; ++plane) {
            SourcePlane chroma = sourceShape;
            chroma.samples = reinterpret_cast<const uint8_t*>(source.data()) + lumaSize + plane * sourceChromaSize;
            const auto* i420 = reinterpret_cast<const uint8_t*>(picture.data()) + lumaSize + plane * chromaSize;
            EXPECT_EQ(samplesOutsideTheirSource(i420, chromaWidth, chromaHeight, chroma, c.columns, c.rows), 0)
                << "chroma plane " << plane << " of picture " << n;
        }
    }
}

// At odd sizes the I420 chroma planes round up.
INSTANTIATE_TEST_SUITE_P(Layouts, MjpegDecodeTest,
                         ::testing::Values(JpegCase{"Yuvj420p", "yuvj420p", 161, 97, 1, 1},
                                           JpegCase{"Yuvj422p", "yuvj422p", 160, 96, 1, 2},
                                           JpegCase{"Yuvj422pOddSize", "yuvj422p", 161, 97, 1, 2},
                                           JpegCase{"Yuvj444p", "yuvj444p", 160, 96, 2, 2},
                                           JpegCase{"Yuvj444pOddSize", "yuvj444p", 161, 97, 2, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    DecoderCase decoder;
    int width;  // what the header says
    int height;
    std::atomic<bool> kvplay::DecoderCapabilities::*missing;  // the decoder this process lacks, or null
    int32_t result;
    const char* line;  // the one line written, as a regular expression; null for none
};

class OpenRefusalTest : public SoftwareDecoderTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(OpenRefusalTest, RefusesAndReportsAsTheEngineExpects) {
    const RefusalCase& c = GetParam();
    if (c.missing)
        kvplay::decoderCapabilities().*c.missing = false;
    const DecoderPtr decoder = c.decoder.make(1);
    const auto record = frameRecord(c.decoder.codec, true, accessUnits(c.decoder.codec, 1)[0], c.width, c.height);
    DecodeOutput out;
    EXPECT_EQ(decoder->decode(record.data(), &out), c.result);
    EXPECT_FALSE(decoder->isOpen());
    if (c.line == nullptr) {
        EXPECT_TRUE(lines_.empty());
        return;
    }
    ASSERT_EQ(lines_.size(), 1u);
    EXPECT_TRUE(std::regex_match(lines_[0], std::regex(c.line))) << lines_[0];
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, OpenRefusalTest,
    ::testing::Values(
        RefusalCase{"H264ZeroWidth", kH264, 0, kHeight, nullptr, kvplay::DecodeError, nullptr},
        RefusalCase{"MjpegZeroHeight", kMjpeg, kWidth, 0, nullptr, kvplay::DecodeError, nullptr},
        RefusalCase{"H264Missing", kH264, kWidth, kHeight, &kvplay::DecoderCapabilities::h264,
                    kvplay::DecodeCreateFailed,
                    R"(\[null ch:3 this:0x[0-9a-f]+\] ===vane \[resources shortage\] h264, w:160, h:96, ch:3)"},
        RefusalCase{
            "H265Missing", kH265, kWidth, kHeight, &kvplay::DecoderCapabilities::h265, kvplay::DecodeCreateFailed,
            R"(\[null ch:3 this:0x[0-9a-f]+\] ===vane \[resources shortage\] h265 ret:[0-9a-f]+, w:160, h:96, ch:3)"},
        RefusalCase{"MjpegMissing", kMjpeg, kWidth, kHeight, &kvplay::DecoderCapabilities::mjpeg,
                    kvplay::DecodeCreateFailed, R"(===vane \[resources shortage\] mjpeg, w:160, h:96, ch:3)"}),
    [](const auto& info) { return std::string(info.param.name); });

struct FirstPictureCase {
    DecoderCase decoder;
    bool instanceLine;  // written with the instance prefix
};

class FirstPictureLineTest : public SoftwareDecoderTest, public ::testing::WithParamInterface<FirstPictureCase> {};

// Once per opening: close starts the count again.
TEST_P(FirstPictureLineTest, IsWrittenOnceWhenTheFirstPictureComesOut) {
    const FirstPictureCase& c = GetParam();
    const uint8_t codec = c.decoder.codec;
    const auto units = accessUnits(codec, 3);
    const DecoderPtr decoder = c.decoder.make(1);
    DecodeOutput out;
    for (const auto& unit : units)
        ASSERT_EQ(decoder->decode(frameRecord(codec, true, unit).data(), &out), kvplay::DecodePicture);
    decoder->close();
    ASSERT_EQ(decoder->decode(frameRecord(codec, true, units[0]).data(), &out), kvplay::DecodePicture);

    char prefix[64] = "";
    if (c.instanceLine)
        std::snprintf(prefix, sizeof prefix, "[null ch:3 this:%p] ", static_cast<const void*>(decoder.get()));
    const std::string expected = std::string(prefix) + "===vane " + c.decoder.name +
                                 " decoder channel:3, flag:0, w:160, h:96, y:" + std::to_string(out.lumaStride) +
                                 ", uv:" + std::to_string(out.chromaStride);
    EXPECT_EQ(lines_, std::vector<std::string>(2, expected));
}

INSTANTIATE_TEST_SUITE_P(Decoders, FirstPictureLineTest,
                         ::testing::Values(FirstPictureCase{kH264, true}, FirstPictureCase{kH265, true},
                                           FirstPictureCase{kMjpeg, false}),
                         [](const auto& info) { return std::string(info.param.decoder.name); });

TEST_F(SoftwareDecoderTest, FastModeNeedsAPolicyABigPictureAndTwentyFramesASecond) {
    struct Case {
        int32_t decodePolicy;
        int width;
        int height;
        uint8_t frameRate;
        bool fast;
    };
    const Case cases[] = {
        {0, 2560, 1440, 25, true}, {1, 2560, 1440, 25, false}, {2, 2560, 1440, 25, true},  {0, 2560, 1440, 19, false},
        {0, 1920, 720, 20, true},  {0, 1280, 1080, 20, true},  {0, 1919, 1079, 30, false},
    };
    const auto unit = accessUnits(rfs::CodecH264, 1)[0];
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "policy " << c.decodePolicy << ", " << c.width << "x" << c.height << " at "
                                        << int{c.frameRate});
        kvplay::CHisi264Decoder decoder(c.decodePolicy);
        ASSERT_EQ(decoder.open(frameRecord(rfs::CodecH264, true, unit, c.width, c.height, c.frameRate).data()), 0);
        EXPECT_EQ(decoder.fastMode(), c.fast);
    }
}

TEST_F(SoftwareDecoderTest, ProbeFindsTheSoftwareDecoders) {
    kvplay::DecoderCapabilities& capabilities = kvplay::decoderCapabilities();
    capabilities.h264 = capabilities.h265 = capabilities.mjpeg = false;
    kvplay::probeDecoderCapabilities();
    EXPECT_TRUE(capabilities.h264 && capabilities.h265 && capabilities.mjpeg);
}

}  // namespace
