// The hardware decoder's rules: it opens only with a free slot and a device, gives its slot back
// whatever happened, and hands pictures copied back from the device (NV12) on to the pictures.
#include <libyuv.h>

#include <gtest/gtest.h>

#include "CFFmpegDecoder.h"
#include "CNetStreamPlay.h"
#include "DecoderCapabilities.h"
#include "FFmpegPictureDecoder.h"
#include "HardwareDecoderSlots.h"
#include "PlaybackFixture.h"

namespace {

// Stands in for a GPU: decodes in software and hands the picture out as NV12, the way devices copy
// pictures back. Can be told to fail a decode.
class StandInBackend final : public kvplay::HardwareBackend {
public:
    explicit StandInBackend(bool failDecode = false) : failDecode_(failDecode) {}
    bool open(kvplay::PictureCodec codec) override { return decoder_.open(codec, false) == 0; }
    int32_t decode(std::span<const uint8_t> unit, uint64_t, kvplay::DecodeOutput& out) override {
        if (failDecode_)
            return kvplay::DecodeError;
        kvplay::DecodeOutput planar;
        const int32_t result = decoder_.decode(unit, planar);
        if (result != kvplay::DecodePicture)
            return result;
        const int chromaWidth = (planar.width + 1) / 2 * 2;
        nv12_.resize(std::size_t(planar.width) * planar.height + std::size_t(chromaWidth) * ((planar.height + 1) / 2));
        uint8_t* uv = nv12_.data() + std::size_t(planar.width) * planar.height;
        libyuv::I420ToNV12(planar.luma, planar.lumaStride, planar.chromaU, planar.chromaStride, planar.chromaV,
                           planar.chromaStride, nv12_.data(), planar.width, uv, chromaWidth, planar.width,
                           planar.height);
        out = kvplay::DecodeOutput{nv12_.data(),  uv,           nullptr,     planar.width,
                                   planar.height, planar.width, chromaWidth, nullptr};
        return kvplay::DecodePicture;
    }
    int32_t deviceType() const override { return 99; }

private:
    bool failDecode_;
    kvplay::FFmpegPictureDecoder decoder_;
    std::vector<uint8_t> nv12_;
};

class HardwareDecoderTest : public PlaybackTest {
protected:
    void SetUp() override {
        PlaybackTest::SetUp();
        kvplay::setHardwareBackendFactory([this] { return std::make_unique<StandInBackend>(failDecodes_); });
    }
    void TearDown() override {
        kvplay::setHardwareBackendFactory({});
        kvplay::setHardwareDecoderLimit(2147483647);
        kvplay::decoderCapabilities().hardware = false;
        kvplay::decoderCapabilities().oldGpuPresent = false;
        PlaybackTest::TearDown();
    }
    // The first key frame of a 1920 × 1080 stream, as the decoders take it (64 zero bytes after it).
    const Record& largeKeyFrame() {
        if (key_.empty()) {
            key_ = largeVideo(1).front();
            key_.resize(key_.size() + 64, 0);
        }
        return key_;
    }

    bool failDecodes_ = false;
    Record key_;
};

}  // namespace

TEST_F(HardwareDecoderTest, OpensOnlyWhileASlotIsFreeAndGivesItBackOnClose) {
    kvplay::setHardwareDecoderLimit(1);
    auto first = std::make_unique<kvplay::CFFmpegDecoder>(true);
    kvplay::DecodeOutput out;
    ASSERT_EQ(first->decode(largeKeyFrame().data(), &out), kvplay::DecodePicture);
    EXPECT_EQ(out.width, 1920);
    EXPECT_EQ(out.chromaV, nullptr) << "copied back as NV12";
    EXPECT_EQ(kvplay::hardwareDecodersOpen(), 1);

    kvplay::CFFmpegDecoder second(true);
    EXPECT_EQ(second.open(largeKeyFrame().data()), kvplay::DecodeError) << "no slot while the first is open";
    EXPECT_FALSE(second.hardwareEnabled()) << "and it gives up hardware for good";

    first.reset();
    EXPECT_EQ(kvplay::hardwareDecodersOpen(), 0);
    kvplay::CFFmpegDecoder third(true);
    EXPECT_EQ(third.open(largeKeyFrame().data()), 0) << "the slot is free again";
    EXPECT_EQ(kvplay::hardwareDecodersOpen(), 1);
}

TEST_F(HardwareDecoderTest, TheSlotComesBackAfterADecodeFailure) {
    failDecodes_ = true;
    kvplay::CFFmpegDecoder decoder(true);
    kvplay::DecodeOutput out;
    EXPECT_EQ(decoder.decode(largeKeyFrame().data(), &out), kvplay::DecodeError);
    EXPECT_FALSE(decoder.hardwareEnabled());
    EXPECT_EQ(kvplay::hardwareDecodersOpen(), 0);
    EXPECT_EQ(decoder.open(largeKeyFrame().data()), kvplay::DecodeError) << "hardware stays off";
    EXPECT_EQ(kvplay::hardwareDecodersOpen(), 0);
}

TEST_F(HardwareDecoderTest, NeverOpensWithoutPermissionOrOnAGpuKnownToFail) {
    kvplay::CFFmpegDecoder notAllowed(false);
    EXPECT_EQ(notAllowed.open(largeKeyFrame().data()), kvplay::DecodeError);
    kvplay::decoderCapabilities().oldGpuPresent = true;
    kvplay::CFFmpegDecoder oldGpu(true);
    EXPECT_EQ(oldGpu.open(largeKeyFrame().data()), kvplay::DecodeError);
    EXPECT_EQ(kvplay::hardwareDecodersOpen(), 0);
}

TEST_F(HardwareDecoderTest, LargePicturesPlayThroughTheHardwareDecoder) {
    kvplay::decoderCapabilities().hardware = true;
    const std::vector<Record> frames = largeVideo(1);
    void* h = player(1);
    feed(h, std::vector<Record>(frames.begin(), frames.begin() + 5));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(250);
    EXPECT_EQ(static_cast<kvplay::CNetStreamPlay*>(h)->decoderKind(), int32_t(kvplay::DecoderKind::FFmpeg));
    const std::vector<Shown> pictures = newPictures();
    ASSERT_EQ(pictures.size(), 5u);
    EXPECT_EQ(pictures[0].width, 1920);
    EXPECT_EQ(kvplay::hardwareDecodersOpen(), 1);
    destroy(h);
    EXPECT_EQ(kvplay::hardwareDecodersOpen(), 0) << "the instance's decoder closed with it";
}

TEST(HardwareDevices, WithoutAGpuTheRealDecoderFailsToOpenAndHoldsNoSlot) {
    if (kvplay::probeHardwareDevice())
        GTEST_SKIP() << "a GPU device opens on this machine";
    Record key = largeVideo(1).front();
    key.resize(key.size() + 64, 0);
    kvplay::CFFmpegDecoder decoder(true);
    EXPECT_EQ(decoder.open(key.data()), kvplay::DecodeError);
    EXPECT_FALSE(decoder.hardwareEnabled());
    EXPECT_EQ(kvplay::hardwareDecodersOpen(), 0);
}
