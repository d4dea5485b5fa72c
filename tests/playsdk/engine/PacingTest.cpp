// Pictures are shown at the pace of their timestamps, scaled by the play mode.
#include "PlaybackFixture.h"

namespace {

constexpr int64_t kFrameMs = 40;

struct SpeedCase {
    int32_t mode;
    int64_t intervalMs;
};

void PrintTo(const SpeedCase& c, std::ostream* out) {
    *out << "mode " << c.mode;
}

// The stored I frames, re-timed `gapMs` apart.
std::vector<Record> keyFramesApart(int64_t gapMs, int count) {
    std::vector<Record> frames = ofType(storedStream(), rfs::FrameI);
    frames.resize(std::min<std::size_t>(frames.size(), count));
    const uint64_t base = headerOf(frames[0]).Time;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        rfs::KVFrameHeader h = headerOf(frames[i]);
        h.Time = h.timestamp = base + i * gapMs * 1000;
        setHeader(frames[i], h);
    }
    return frames;
}

}  // namespace

class SpeedTest : public PlaybackTest, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(SpeedTest, ConsecutivePicturesFollowTheModesInterval) {
    const SpeedCase c = GetParam();
    void* h = player();
    feed(h, std::vector<Record>(storedStream().begin(), storedStream().begin() + 60));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    settle();
    ASSERT_EQ(KVPlaySetPlayModeEx(h, c.mode, 1), 0);
    advanceMs(static_cast<int>(c.intervalMs * 8 + 100));

    const std::vector<Shown> pictures = newPictures();
    ASSERT_GE(pictures.size(), 6u);
    for (std::size_t i = 1; i < pictures.size(); ++i)
        EXPECT_EQ(pictures[i].time - pictures[i - 1].time, kFrameMs * 1000) << "pictures out of order at " << i;
    // The picture scheduled before the mode changed keeps its time; every later one the mode's.
    for (const int64_t interval : intervalsMs(pictures, 1))
        EXPECT_EQ(interval, c.intervalMs);
}

INSTANTIATE_TEST_SUITE_P(Modes, SpeedTest,
                         ::testing::Values(SpeedCase{1, 40}, SpeedCase{4, 80}, SpeedCase{5, 160}, SpeedCase{16, 20},
                                           SpeedCase{17, 10}, SpeedCase{20, 40}));

TEST_F(PlaybackTest, SixteenTimesSlowerRepaintsEvery40MsBetweenPictures) {
    void* h = player();
    feed(h, std::vector<Record>(storedStream().begin(), storedStream().begin() + 30));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    settle();
    ASSERT_EQ(KVPlaySetPlayMode(h, 7, 0), 0);
    advanceMs(40 + 640 * 3 + 20);

    const std::vector<Shown> pictures = newPictures();
    ASSERT_EQ(pictures.size(), 5u);
    for (const int64_t interval : intervalsMs(pictures, 1))
        EXPECT_EQ(interval, 640);
    const std::vector<Shown> all = shown();
    std::size_t repaints = 0;
    for (std::size_t i = 1; i < all.size(); ++i)
        if (all[i].atMs > pictures[1].atMs) {
            EXPECT_EQ(all[i].atMs - all[i - 1].atMs, 40);
            repaints += all[i].time == all[i - 1].time;
        }
    EXPECT_EQ(repaints, 3u * 15);
}

TEST_F(PlaybackTest, KeyFramesOnlyAtSixteenTimesFasterShowsIAndVFrames) {
    void* h = player();
    feed(h, storedStream());
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    settle();
    ASSERT_EQ(KVPlaySetPlayMode(h, 19, 0), 0);
    advanceMs(400);

    const std::vector<Shown> pictures = newPictures();
    ASSERT_GE(pictures.size(), 20u);
    const int64_t first = headerOf(storedStream()[0]).Time;
    // Past the pictures decoded before the change only every fifth frame ('I' or 'V') is shown, each 16
    // times faster than recorded. (A 'V' frame whose decoder lacks the frames before it may fail; the
    // next key frame then takes its time.)
    for (std::size_t i = 4; i < pictures.size(); ++i) {
        EXPECT_EQ((pictures[i].time - first) % (5 * kFrameMs * 1000), 0) << i;
        if (i > 4) {
            const double recordedMs = static_cast<double>(pictures[i].time - pictures[i - 1].time) / 1000;
            EXPECT_NEAR(static_cast<double>(pictures[i].atMs - pictures[i - 1].atMs), recordedMs / 16, 1.0) << i;
        }
    }
}

TEST_F(PlaybackTest, TimestampJumpsCostOneIntervalUnlessKeyFramesPlayFast) {
    struct {
        int32_t mode;
        int64_t intervalMs;
    } cases[] = {{1, 40}, {19, 125}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        clearShown();
        void* h = player();
        feed(h, keyFramesApart(2000, 6));
        ASSERT_EQ(KVPlayStartPlay(h), 0);
        settle();
        ASSERT_EQ(KVPlaySetPlayMode(h, c.mode, 0), 0);
        advanceMs(1000);
        const std::vector<Shown> pictures = newPictures();
        ASSERT_EQ(pictures.size(), 6u);
        for (const int64_t interval : intervalsMs(pictures, 1))
            EXPECT_EQ(interval, c.intervalMs);
        KVPlayStopPlay(h);
    }
}

TEST_F(PlaybackTest, LateDecodingResumesFromNowWithoutABurst) {
    void* h = player();
    feed(h, std::vector<Record>(storedStream().begin(), storedStream().begin() + 30));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    settle();
    // The clock jumps half a second while nothing runs: the next picture is late and shows at once, and
    // the ones after it keep their interval from there.
    clock_.advanceUs(500'000);
    advanceMs(200);
    const std::vector<Shown> pictures = newPictures();
    ASSERT_GE(pictures.size(), 5u);
    for (const int64_t interval : intervalsMs(pictures, 2))
        EXPECT_EQ(interval, 40);
}
