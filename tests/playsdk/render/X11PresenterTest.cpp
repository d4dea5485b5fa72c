// The back buffer reaches the window both ways: through shared memory and as plain image requests,
// which must be cut into strips that fit the server's largest request.
#include "TestWindow.h"
#include "X11Presenter.h"

namespace {

class X11PresenterTest : public ::testing::TestWithParam<bool> {};

}  // namespace

TEST_P(X11PresenterTest, ShowsTheWholeBufferInTheWindow) {
    kvplay::X11Display* display = kvplay::X11Display::instance();
    ASSERT_NE(display, nullptr) << "these tests run under Xvfb";
    // Larger than the server's largest request (16 MiB with big requests): plain images need strips.
    constexpr int kWidth = 2560, kHeight = 1700;
    TestWindow window(kWidth, kHeight);
    kvplay::X11Presenter presenter(*display, static_cast<uint32_t>(window.id()), GetParam());
    bool fresh = false;
    uint8_t* pixels = presenter.backBuffer(kWidth, kHeight, fresh);
    ASSERT_NE(pixels, nullptr);
    EXPECT_TRUE(fresh);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = pixels + (std::size_t(y) * kWidth + x) * 4;
            p[0] = static_cast<uint8_t>(y * 255 / (kHeight - 1));  // blue rises down the window
            p[1] = 0;
            p[2] = static_cast<uint8_t>(x * 255 / (kWidth - 1));  // red rises to the right
        }
    ASSERT_TRUE(presenter.present(24));
    for (const auto& [x, y] :
         {std::pair{0, 0}, {kWidth - 1, 0}, {0, kHeight - 1}, {1280, 850}, {kWidth - 1, kHeight - 1}}) {
        const auto p = window.pixel(x, y);
        EXPECT_EQ(p[0], y * 255 / (kHeight - 1)) << x << "," << y;
        EXPECT_EQ(p[2], x * 255 / (kWidth - 1)) << x << "," << y;
    }
    presenter.backBuffer(kWidth, kHeight, fresh);
    EXPECT_FALSE(fresh) << "the same size keeps the buffer";
}

INSTANTIATE_TEST_SUITE_P(SharedOrPlain, X11PresenterTest, ::testing::Values(true, false));
