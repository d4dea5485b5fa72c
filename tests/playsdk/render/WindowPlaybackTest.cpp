// An instance given a window draws its decoded pictures into it.
#include <chrono>
#include <thread>

#include "KVPlay.h"
#include "StoredStreams.h"
#include "TestWindow.h"

// Renderer choice 0 asks for the surface renderer; this X server has no video adaptor, so the scaling
// renderer takes over and draws.
class WindowPlayback : public ::testing::TestWithParam<uint32_t> {};

TEST_P(WindowPlayback, DecodedPicturesAppearInTheWindow) {
    ASSERT_EQ(KVPlayInitPlayLib(1, 1, nullptr), 0);
    TestWindow window(320, 192);
    void* h = KVPlayCreatePlayInstance(1);
    ASSERT_NE(h, nullptr);
    KVPlayPlayOptions options{};
    options.renderer = GetParam();
    ASSERT_EQ(KVPlaySetPlayWndEx(h, window.id(), &options), 0);
    KVPlayRenderActualProportion(h, 0);
    const std::vector<Record>& records = storedStream();
    for (std::size_t i = 0; i < 25; ++i)
        KVPlayInputNetFrame(h, records[i].data(), static_cast<int32_t>(records[i].size()));
    ASSERT_EQ(KVPlayStartPlay(h), 0);

    // The simulator's scene is never black in the middle of the picture.
    bool drawn = false;
    for (int i = 0; i < 200 && !drawn; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const auto p = window.pixel(160, 96);
        drawn = p[0] + p[1] + p[2] > 30;
    }
    EXPECT_TRUE(drawn);
    int32_t width = 0, height = 0;
    EXPECT_EQ(KVPlayGetPlayPicSize(h, &width, &height), 0);
    EXPECT_EQ(width, 160);
    EXPECT_EQ(height, 96);
    KVPlayStopPlay(h);
    KVPlayDestroyPlayInstance(h);
}

INSTANTIATE_TEST_SUITE_P(RendererChoices, WindowPlayback, ::testing::Values(0u, 1u));
