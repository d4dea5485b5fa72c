// Decoding failures: damaged frames, missing decoders, and the fallback from the hardware decoder.
#include "CNetStreamPlay.h"
#include "DecoderCapabilities.h"
#include "HardwareBackend.h"
#include "PlaybackFixture.h"

namespace {

std::vector<Record> videoWithoutVirtualFrames() {
    StreamShape shape;
    shape.virtualKeyFrameEvery = 0;
    return videoOnly(storedStream(shape));
}

int64_t frameIndexOf(const Shown& s, const std::vector<Record>& frames) {
    return (s.time - static_cast<int64_t>(headerOf(frames[0]).Time)) / 40'000;
}

// A GPU device that cannot be opened, as on a machine whose GPU refuses.
class RefusingBackend final : public kvplay::HardwareBackend {
public:
    bool open(kvplay::PictureCodec) override { return false; }
    int32_t decode(std::span<const uint8_t>, uint64_t, kvplay::DecodeOutput&) override { return kvplay::DecodeError; }
    int32_t deviceType() const override { return 0; }
};

}  // namespace

TEST_F(PlaybackTest, DamagedFrameStopsPicturesUntilTheNextKeyFrame) {
    std::vector<Record> frames = videoWithoutVirtualFrames();
    frames.resize(60);
    // Frame 10 lost its start code: the decoder refuses it, and the frames after it need it.
    Record& damaged = frames[10];
    std::fill(damaged.begin() + rfs::kFrameHeaderSize, damaged.begin() + rfs::kFrameHeaderSize + 4, 0xFF);
    void* h = player(1);
    feed(h, frames);
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(60 * 40 + 200);

    std::vector<int64_t> shownFrames;
    for (const Shown& s : newPictures())
        shownFrames.push_back(frameIndexOf(s, frames));
    std::vector<int64_t> expected;
    for (int64_t i = 0; i < 60; ++i)
        if (i < 10 || i >= 25)
            expected.push_back(i);
    EXPECT_EQ(shownFrames, expected);
}

// Instances whose first frames meet no H.264 decoder: a resources shortage.
class ShortageTest : public PlaybackTest {
protected:
    void* playWithoutDecoder(std::size_t frameCount) {
        void* h = player(1);
        kvplay::decoderCapabilities().h264 = false;
        feed(h, std::vector<Record>(frames_.begin(), frames_.begin() + frameCount));
        EXPECT_EQ(KVPlayStartPlay(h), 0);
        advanceMs(100);
        kvplay::decoderCapabilities().h264 = true;
        return h;
    }
    std::vector<Record> framesFrom(std::size_t first, std::size_t count) const {
        return std::vector<Record>(frames_.begin() + first, frames_.begin() + first + count);
    }
    long shortageMessages() {
        const std::vector<int32_t> got = messages();
        return std::count(got.begin(), got.end(), KVPLAY_MSG_RESOURCE_SHORTAGE);
    }

    const std::vector<Record> frames_ = videoOnly(storedStream());
};

TEST_F(ShortageTest, MissingDecoderReportsShortageOnceAndSuspendsInputUntilCleared) {
    void* h = playWithoutDecoder(5);
    EXPECT_EQ(shortageMessages(), 1);
    EXPECT_TRUE(newPictures().empty());
    // Input is suspended on every instance while the shortage lasts.
    feed(h, framesFrom(5, 5));
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 0);
    EXPECT_EQ(shortageMessages(), 1);

    EXPECT_EQ(KVPlayClearFlag(1), 1) << "message 21 had been sent";
    EXPECT_EQ(KVPlayClearFlag(1), 0);
    feed(h, framesFrom(25, 10));
    advanceMs(500);
    EXPECT_EQ(newPictures().size(), 10u);
}

TEST_F(ShortageTest, ClearFlagWithoutBit0RearmsTheMessageButKeepsInputSuspended) {
    void* h = playWithoutDecoder(3);
    EXPECT_EQ(KVPlayClearFlag(0), 1);
    feed(h, framesFrom(25, 3));
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 0);
    EXPECT_EQ(shortageMessages(), 2) << "re-armed";
}

class DecoderChoiceTest : public PlaybackTest {
protected:
    // Every GPU device refuses to open, as on a machine whose GPU fails; counts the attempts.
    void refuseDevices() {
        kvplay::decoderCapabilities().hardware = true;
        kvplay::setHardwareBackendFactory([this] {
            ++devicesTried_;
            return std::make_unique<RefusingBackend>();
        });
    }
    int devicesTried_ = 0;

    void TearDown() override {
        kvplay::decoderCapabilities().hardware = false;
        kvplay::setHardwareBackendFactory({});
        PlaybackTest::TearDown();
    }
};

TEST_F(DecoderChoiceTest, LargePicturesFallBackToTheSoftwareDecoderWhenTheHardwareOneCannotOpen) {
    const std::vector<Record> frames = largeVideo(2);
    refuseDevices();
    void* h = player(1);
    feed(h, std::vector<Record>(frames.begin(), frames.begin() + 5));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(250);

    EXPECT_EQ(devicesTried_, 1);
    EXPECT_EQ(static_cast<kvplay::CNetStreamPlay*>(h)->decoderKind(), int32_t(kvplay::DecoderKind::H264));
    const std::vector<Shown> pictures = newPictures();
    ASSERT_EQ(pictures.size(), 5u) << "the key frame that failed was decoded again by the fallback";
    EXPECT_EQ(pictures[0].width, 1920);
    EXPECT_EQ(pictures[0].height, 1080);
}

TEST_F(DecoderChoiceTest, SmallPicturesNeverUseTheHardwareDecoder) {
    refuseDevices();
    void* h = player(1);
    feed(h, std::vector<Record>(storedStream().begin(), storedStream().begin() + 10));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(100);
    EXPECT_EQ(devicesTried_, 0);
    EXPECT_FALSE(newPictures().empty());
}

TEST_F(DecoderChoiceTest, DecodeAndRenderFallsBackAndStopsAskingForHardware) {
    kvplay::decoderCapabilities().hardware = true;
    refuseDevices();
    const std::vector<Record> frames = largeVideo(2);
    void* h = player(1);
    KVPlayPlayOptions options{};
    options.renderer = 1;
    options.decodeAndRender = 1;
    ASSERT_EQ(KVPlaySetPlayWndEx(h, 0x1234, &options), 0);
    feed(h, std::vector<Record>(frames.begin(), frames.begin() + 3));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(150);
    EXPECT_EQ(devicesTried_, 0) << "after the failed decode-and-render no GPU device is asked for";
    EXPECT_EQ(newPictures().size(), 3u);
}

TEST_F(PlaybackTest, CodecChangeMidStreamSwitchesDecoder) {
    StreamShape h265;
    h265.codec = rfssim::VideoCodecKind::H265;
    const std::vector<Record> first = videoOnly(storedStream());
    std::vector<Record> second = videoOnly(storedStream(h265));
    // The H.265 part continues the sequence and the time of the H.264 part.
    const rfs::KVFrameHeader last = headerOf(first[9]);
    for (std::size_t i = 0; i < 10; ++i) {
        rfs::KVFrameHeader h = headerOf(second[i]);
        h.frameNo = last.frameNo + 1 + static_cast<uint32_t>(i);
        h.Time = h.timestamp = last.Time + (i + 1) * 40'000;
        setHeader(second[i], h);
    }
    void* h = player(1);
    feed(h, std::vector<Record>(first.begin(), first.begin() + 10));
    feed(h, std::vector<Record>(second.begin(), second.begin() + 10));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(20 * 40 + 100);
    EXPECT_EQ(newPictures().size(), 20u);
    EXPECT_EQ(static_cast<kvplay::CNetStreamPlay*>(h)->decoderKind(), int32_t(kvplay::DecoderKind::H265));
}

TEST_F(PlaybackTest, ExternalDecodeCallbackReplacesTheDecoders) {
    kvplay::decoderCapabilities().h264 = false;  // no decoder is needed
    KVPlayCallbackTable table{};
    int calls = 0;
    table.user = &calls;
    table.decode = [](const void*, KVPlayPictureDescriptor* picture, void* user) -> int32_t {
        ++*static_cast<int*>(user);
        std::fill(picture->luma, picture->luma + picture->width * picture->height, 235);
        std::fill(picture->chromaU, picture->chromaU + picture->chromaStride * (picture->height / 2), 128);
        std::fill(picture->chromaV, picture->chromaV + picture->chromaStride * (picture->height / 2), 128);
        return 0;
    };
    keepBmps_ = true;
    void* h = player(1);
    ASSERT_EQ(KVPlayRegisterManyCallbacks(h, &table), 0);
    feed(h, std::vector<Record>(storedStream().begin(), storedStream().begin() + 8));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(200);
    kvplay::decoderCapabilities().h264 = true;
    const std::vector<Shown> pictures = newPictures();
    ASSERT_FALSE(pictures.empty());
    EXPECT_EQ(calls, static_cast<int>(
                         videoOnly(std::vector<Record>(storedStream().begin(), storedStream().begin() + 8)).size()));
    EXPECT_GT(pictures[0].bmp[54], 250) << "white, as the callback painted it";
}
