// Pause, single frame, restarts, the blank mode and the played time.
#include "PlaybackFixture.h"

namespace {

std::vector<Record> firstRecords(std::size_t n) {
    return std::vector<Record>(storedStream().begin(), storedStream().begin() + n);
}

// The pictures from the first one of the given time on.
std::vector<Shown> afterRepaints(const std::vector<Shown>& pictures, uint64_t firstTime) {
    const auto first = std::find_if(pictures.begin(), pictures.end(),
                                    [&](const Shown& s) { return s.time == static_cast<int64_t>(firstTime); });
    return std::vector<Shown>(first, pictures.end());
}

}  // namespace

TEST_F(PlaybackTest, PauseRepaintsTheSamePictureAndSingleFrameShowsExactlyOneMore) {
    void* h = player();
    feed(h, firstRecords(80));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(150);
    ASSERT_EQ(KVPlaySetPlayMode(h, 3, 0), 0);
    advanceMs(50);
    const std::size_t beforePause = newPictures().size();
    const std::size_t callbacksBefore = shown().size();
    advanceMs(400);
    EXPECT_EQ(newPictures().size(), beforePause);
    EXPECT_GE(shown().size() - callbacksBefore, 9u) << "the paused picture is repainted every 40 ms";

    ASSERT_EQ(KVPlaySetPlayMode(h, 48, 0), 0);
    advanceMs(200);
    EXPECT_EQ(newPictures().size(), beforePause + 1);
    EXPECT_EQ(KVPlayGetPlayMode(h), 3);
}

TEST_F(PlaybackTest, ModesAreIgnoredWhileStoppedAndStartBeginsAtNormalSpeed) {
    void* h = player();
    EXPECT_EQ(KVPlaySetPlayMode(h, 16, 0), 0);
    EXPECT_EQ(KVPlayGetPlayMode(h), 1);
    feed(h, firstRecords(40));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(200);
    for (const int64_t interval : intervalsMs(newPictures()))
        EXPECT_EQ(interval, 40);
}

TEST_F(PlaybackTest, RestartForwardEmptiesTheQueuesAndKeepsTheMode) {
    void* h = player();
    feed(h, firstRecords(100));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    settle();
    ASSERT_EQ(KVPlaySetPlayMode(h, 16, 0), 0);
    advanceMs(100);
    ASSERT_GT(KVPlayGetNetPlayBufNum(h), 0);

    ASSERT_EQ(KVPlaySetPlayMode(h, 2, 0), 0);
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 0);
    EXPECT_EQ(KVPlayGetPlayMode(h), 16);
    clearShown();
    feed(h, firstRecords(60));
    advanceMs(200);
    // The picture on screen before the restart is repainted until the first new one comes.
    const std::vector<Shown> pictures = afterRepaints(newPictures(), headerOf(storedStream()[0]).Time);
    ASSERT_GE(pictures.size(), 6u) << "played from the start";
    for (const int64_t interval : intervalsMs(pictures))
        EXPECT_EQ(interval, 20);
}

TEST_F(PlaybackTest, RestartInReversePlaysFramesFedBackwards) {
    void* h = player();
    feed(h, firstRecords(20));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(100);
    ASSERT_EQ(KVPlaySetPlayMode(h, 50, 0), 0);
    EXPECT_EQ(KVPlayGetPlayMode(h), 1);
    clearShown();
    // Backwards play is fed key frames, newest first: one second apart.
    std::vector<Record> keys = ofType(storedStream(), rfs::FrameI);
    std::reverse(keys.begin(), keys.end());
    feed(h, keys);
    advanceMs(static_cast<int>(1000 * keys.size()));

    const std::vector<Shown> pictures = afterRepaints(newPictures(), headerOf(keys[0]).Time);
    ASSERT_EQ(pictures.size(), keys.size());
    for (std::size_t i = 1; i < pictures.size(); ++i) {
        EXPECT_EQ(pictures[i - 1].time - pictures[i].time, 1'000'000);
        EXPECT_EQ(pictures[i].atMs - pictures[i - 1].atMs, 1000);
    }
}

TEST_F(PlaybackTest, BlankModeIgnoresInputAndShowsBlackEvery30Ms) {
    keepBmps_ = true;
    void* h = player();
    feed(h, firstRecords(40));
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(80);
    ASSERT_EQ(KVPlaySetPlayMode(h, 49, 0), 0);
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 0);
    feed(h, firstRecords(10));
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 0);
    clearShown();
    advanceMs(300);

    const std::vector<Shown> all = shown();
    ASSERT_GE(all.size(), 10u);
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].width, 32);
        EXPECT_EQ(all[i].height, 32);
        const uint8_t* pixels = all[i].bmp.data() + 54;
        EXPECT_TRUE(std::all_of(pixels, pixels + 32 * 32 * 3, [](uint8_t b) { return b < 4; })) << "not black";
        if (i > 0) {
            EXPECT_EQ(all[i].atMs - all[i - 1].atMs, 30);
        }
    }

    ASSERT_EQ(KVPlaySetPlayMode(h, 1, 0), 0);
    feed(h, firstRecords(40));
    advanceMs(200);
    EXPECT_GT(newPictures().back().width, 32) << "pictures again after the blank mode";
}

TEST_F(PlaybackTest, PlayedTimeIsTheTimeOfThePictureOnScreen) {
    void* h = player();
    EXPECT_EQ(KVPlayGetCurPlayedTime(h), 0);
    feed(h, firstRecords(40));
    EXPECT_EQ(KVPlayGetCurPlayedTime(h), 0) << "nothing decoded before start";
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    for (int step = 0; step < 10; ++step) {
        advanceMs(40);
        const std::vector<Shown> pictures = newPictures();
        ASSERT_FALSE(pictures.empty());
        EXPECT_EQ(KVPlayGetCurPlayedTime(h), pictures.back().time);
    }
    ASSERT_EQ(KVPlayStopPlay(h), 0);
    EXPECT_EQ(KVPlayGetCurPlayedTime(h), 0);
    EXPECT_EQ(KVPlayGetNetPlayBufNum(h), 0);
}

TEST_F(PlaybackTest, WithoutAWindowThePlayedTimeFollowsTheInput) {
    void* h = KVPlayCreatePlayInstance(1);
    ASSERT_NE(h, nullptr);
    const std::vector<Record> frames = firstRecords(10);
    feed(h, frames);
    EXPECT_EQ(KVPlayGetCurPlayedTime(h), static_cast<int64_t>(headerOf(frames.back()).Time));
    KVPlayDestroyPlayInstance(h);
}

TEST_F(PlaybackTest, RegisteredStillPictureShowsAtStartBeforeAnyFrame) {
    // A 2 × 2 bottom-up BMP: rows of 6 bytes padded to 8, the bottom row white.
    std::vector<uint8_t> still(54 + 16, 0);
    still[0] = 'B', still[1] = 'M', still[10] = 54, still[14] = 40, still[18] = 2, still[22] = 2, still[26] = 1;
    still[28] = 24;
    std::fill(still.begin() + 54, still.begin() + 60, 0xFF);
    void* h = KVPlayCreatePlayInstance(1);
    ASSERT_NE(h, nullptr);
    std::vector<uint8_t> delivered;
    KVPlayPictureCallbackSetup setup{[](const KVPlayPicture* p, void* user) {
                                         static_cast<std::vector<uint8_t>*>(user)->assign(p->bmp, p->bmp + p->size);
                                     },
                                     &delivered, still.data(), static_cast<uint32_t>(still.size())};
    ASSERT_EQ(KVPlayRegisterPictureCallback(h, &setup), 0);
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    settle();
    // Delivered top-down: the white row comes second.
    ASSERT_EQ(delivered.size(), 54u + 16u);
    EXPECT_LT(delivered[54], 8);
    EXPECT_GT(delivered[54 + 8], 247);
    KVPlayStopPlay(h);
    KVPlayDestroyPlayInstance(h);
}
