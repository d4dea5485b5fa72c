// Many instances fed, started, stopped and destroyed at once, on the real clock: run under the
// sanitizers this finds races, leaks and deadlocks between input, decoding, rendering and stopping.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "KVPlay.h"
#include "StoredStreams.h"

namespace {

std::chrono::seconds stressDuration() {
    const char* seconds = std::getenv("KVPLAY_STRESS_SECONDS");
    return std::chrono::seconds(seconds ? std::atoi(seconds) : 30);
}

// One feeder: creates an instance of its type, plays a while in some mode, stops and destroys it.
void playRounds(int feeder, const std::vector<Record>& frames, std::chrono::steady_clock::time_point until,
                std::atomic<int>& pictures, std::atomic<int>& rounds) {
    const int32_t types[] = {1, 2, 6, 1};
    const int32_t modes[] = {1, 16, 19, 3, 48, 2, 49, 7};
    KVPlayPictureCallbackSetup setup{[](const KVPlayPicture*, void* user) { ++*static_cast<std::atomic<int>*>(user); },
                                     &pictures, nullptr, 0};
    for (int round = 0; std::chrono::steady_clock::now() < until; ++round) {
        void* h = KVPlayCreatePlayInstance(types[(feeder + round) % 4]);
        ASSERT_NE(h, nullptr);
        KVPlaySetCallbackMessageEx(
            h, [](int32_t, void* user) { KVPlayGetNetPlayBufNum(user); }, h);
        if (round % 3 != 2)
            KVPlayRegisterPictureCallback(h, &setup);
        if (round % 2)
            KVPlayStartPlay(h);
        const std::size_t count = 20 + (feeder * 7 + round * 13) % 60;
        for (std::size_t i = 0; i < count && i < frames.size(); ++i) {
            KVPlayInputNetFrame(h, frames[i].data(), static_cast<int32_t>(frames[i].size()));
            if (i == count / 2) {
                KVPlayStartPlay(h);
                KVPlaySetPlayMode(h, modes[(feeder + round) % 8], 0);
            }
        }
        KVPlayInputNetFrame(h, nullptr, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(5 * (round % 5)));
        KVPlayGetCurPlayedTime(h);
        KVPlayStopPlay(h);
        KVPlayDestroyPlayInstance(h);
        ++rounds;
    }
}

}  // namespace

TEST(EngineStress, SixteenInstancesFedStartedStoppedAndDestroyedConcurrently) {
    ASSERT_EQ(KVPlayInitPlayLib(1, 1, nullptr), 0);
    const std::vector<Record>& frames = storedStream();
    const auto until = std::chrono::steady_clock::now() + stressDuration();
    std::atomic<int> pictures{0}, rounds{0};
    std::vector<std::thread> feeders;
    for (int f = 0; f < 16; ++f)
        feeders.emplace_back(playRounds, f, std::cref(frames), until, std::ref(pictures), std::ref(rounds));
    for (std::thread& t : feeders)
        t.join();
    KVPlayClearFlag(1);
    EXPECT_GT(rounds.load(), 16);
    EXPECT_GT(pictures.load(), 0);
}
