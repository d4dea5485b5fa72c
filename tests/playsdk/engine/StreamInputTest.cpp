// What the input queue accepts, refuses, drops and reports.
#include "MessageLines.h"
#include "PlaybackFixture.h"

namespace {

std::vector<Record> firstVideo(std::size_t n) {
    StreamShape longer;
    longer.seconds = 12;
    std::vector<Record> v = videoOnly(storedStream(longer));
    v.resize(n);
    return v;
}

int32_t input(void* h, const Record& r) {
    return KVPlayInputNetFrame(h, r.data(), static_cast<int32_t>(r.size()));
}

}  // namespace

TEST_F(PlaybackTest, MoreThan200QueuedFramesAnswerOutOfMemoryAndDrainingBelow100SendsMessage1) {
    void* h = player(1);
    const std::vector<Record> frames = firstVideo(203);
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(input(h, frames[i]), i <= 200 ? 0 : KVPLAY_E_OUTOFMEMORY) << "frame " << i;
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 203);

    int32_t queuedAtMessage = -1;
    onMessageHook_ = [&](int32_t code) {
        // Asking the instance from inside the callback must not deadlock.
        if (code == KVPLAY_MSG_NEED_MORE_DATA)
            queuedAtMessage = KVPlayGetNetPlayBufNum(handleForHook_);
    };
    handleForHook_ = h;
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(110 * 40);
    const std::vector<int32_t> got = messages();
    EXPECT_EQ(std::count(got.begin(), got.end(), KVPLAY_MSG_NEED_MORE_DATA), 1);
    EXPECT_EQ(queuedAtMessage, 99);
}

TEST_F(PlaybackTest, LiveStreamsNeverAskForMoreData) {
    void* h = player(2);
    const std::vector<Record> frames = firstVideo(203);
    feed(h, frames);
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(100);
    const std::vector<int32_t> got = messages();
    EXPECT_EQ(std::count(got.begin(), got.end(), KVPLAY_MSG_NEED_MORE_DATA), 0);
}

TEST_F(PlaybackTest, EndMarkerIsReportedOnceAfterTheFramesBeforeIt) {
    void* h = player(1);
    const std::vector<Record> frames = firstVideo(10);
    std::size_t shownAtMessage = 0;
    onMessageHook_ = [&](int32_t code) {
        if (code == KVPLAY_MSG_STREAM_END)
            shownAtMessage = newPictures().size();
    };
    feed(h, frames);
    ASSERT_EQ(KVPlayInputNetFrame(h, nullptr, 0), 0);
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 11);
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(600);
    const std::vector<int32_t> got = messages();
    EXPECT_EQ(std::count(got.begin(), got.end(), KVPLAY_MSG_STREAM_END), 1);
    EXPECT_GE(shownAtMessage, 8u) << "reported when decoding reached it, after the earlier frames";
    EXPECT_EQ(newPictures().size(), 10u);
}

TEST_F(PlaybackTest, FullQueueDropsTheOlderHalfUpToAKeyFrame) {
    void* h = KVPlayCreatePlayInstance(2);  // room for 250 frames, no window
    ASSERT_NE(h, nullptr);
    const std::vector<Record> frames = firstVideo(251);
    for (const Record& r : frames)
        input(h, r);
    // 250 queued: halved to 125 (frames 125..249), then dropped up to the next 'I' or 'V' frame, and the
    // 251st appended.
    std::size_t next = 125;
    while (headerOf(frames[next]).frameType == rfs::FrameP)
        ++next;
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), static_cast<int32_t>(250 - next + 1));
    const std::vector<std::string> logged = lines();
    EXPECT_TRUE(std::any_of(logged.begin(), logged.end(), [](const std::string& l) {
        return l.find("===vane drop frame channel:0") != std::string::npos &&
               l.find("frame_size(before, current):(250, ") != std::string::npos;
    }));
    KVPlayDestroyPlayInstance(h);
}

TEST_F(PlaybackTest, RefusesFramesWhoseLengthDisagreesWithTheirHeader) {
    void* h = player(1);
    Record r = firstVideo(1)[0];
    const auto length = static_cast<int32_t>(r.size());
    struct {
        const char* what;
        int32_t length;
        uint32_t payloadLength;
    } cases[] = {
        {"length shorter than the header says", length - 1, headerOf(r).framesize},
        {"length longer than the header says", length + 1, headerOf(r).framesize},
        {"shorter than a header", 39, headerOf(r).framesize},
        {"implausible payload length", length, 0xFFFFFFF0u},
    };
    for (const auto& c : cases) {
        Record copy = r;
        rfs::KVFrameHeader header = headerOf(copy);
        header.framesize = c.payloadLength;
        setHeader(copy, header);
        EXPECT_EQ(KVPlayInputNetFrame(h, copy.data(), c.length), -1) << c.what;
    }
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 0);
    EXPECT_EQ(input(h, r), 0);
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 1);
}

TEST_F(PlaybackTest, PFramesOutOfSequenceAreDroppedUntilTheNextKeyFrame) {
    void* h = KVPlayCreatePlayInstance(2);
    ASSERT_NE(h, nullptr);
    const std::vector<Record> frames = firstVideo(30);  // I P P P P V P ..., I again at 25
    ASSERT_EQ(headerOf(frames[6]).frameType, rfs::FrameP);
    // After a reset the first frame is a 'P' numbered 6: dropped.
    EXPECT_EQ(input(h, frames[6]), 0);
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 0);
    input(h, frames[0]);
    input(h, frames[1]);
    input(h, frames[3]);  // frame 2 lost: 3 and 4 cannot follow
    input(h, frames[4]);
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 2);
    input(h, frames[5]);  // 'V': accepted and the new base
    input(h, frames[6]);
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 4);
    KVPlayDestroyPlayInstance(h);
}

TEST_F(PlaybackTest, EmptyFrameWithSequence0SkipsFramesOlderThanThePlayedTime) {
    void* h = KVPlayCreatePlayInstance(1);  // no window: the played time follows the input
    ASSERT_NE(h, nullptr);
    const std::vector<Record> frames = firstVideo(40);
    auto feedRange = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            input(h, frames[i]);
    };
    auto control = [&](uint32_t sequence) {
        rfs::KVFrameHeader marker = headerOf(frames[0]);
        marker.framesize = 0;
        marker.frameNo = sequence;
        Record r(rfs::kFrameHeaderSize);
        setHeader(r, marker);
        return input(h, r);
    };
    feedRange(0, 25);
    ASSERT_EQ(KVPlayClearFrameBuffer(h), 0);
    EXPECT_EQ(control(2), 0);
    feedRange(15, 35);
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 20) << "sequence 2 has no effect";

    ASSERT_EQ(KVPlayClearFrameBuffer(h), 0);
    EXPECT_EQ(control(0), 0);
    feedRange(25, 40);
    // Frames 25..33 are older than frame 34, the played time; 34 itself then fails the sequence check.
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 5);
    KVPlayDestroyPlayInstance(h);
}
