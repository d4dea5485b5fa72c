// The scaling renderer draws real pictures into real windows: placement by aspect mode and view area,
// and what happens to hidden, resized and destroyed windows.
#include <cstring>

#include "CD2D1Render.h"
#include "PictureDescriptor.h"
#include "TestWindow.h"

namespace {

using kvplay::CD2D1Render;
using kvplay::X11Display;

constexpr std::array<int, 3> kBlack{0, 0, 0};
constexpr std::array<int, 3> kRed{0, 0, 255};
constexpr std::array<int, 3> kBlue{255, 0, 0};

// 160 × 120: the left half red, the right half blue (studio-range BT.601).
std::unique_ptr<kvplay::PictureDescriptor> halvesPicture() {
    auto p = kvplay::allocatePicture(rfs::KVFrameHeader{}, 160, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            p->luma[y * p->lumaStride + x] = x < 80 ? 81 : 41;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x) {
            p->chromaU[y * p->chromaStride + x] = x < 40 ? 90 : 240;
            p->chromaV[y * p->chromaStride + x] = x < 40 ? 240 : 110;
        }
    return p;
}

::testing::AssertionResult near(const std::array<int, 3>& got, const std::array<int, 3>& want) {
    for (int i = 0; i < 3; ++i)
        if (std::abs(got[i] - want[i]) > 12)
            return ::testing::AssertionFailure()
                   << "pixel (" << got[0] << ", " << got[1] << ", " << got[2] << ") is not (" << want[0] << ", "
                   << want[1] << ", " << want[2] << ")";
    return ::testing::AssertionSuccess();
}

class D2D1RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        display_ = X11Display::instance();
        ASSERT_NE(display_, nullptr) << "these tests run under Xvfb";
    }
    X11Display* display_ = nullptr;
    std::unique_ptr<kvplay::PictureDescriptor> picture_ = halvesPicture();
};

}  // namespace

TEST_F(D2D1RenderTest, FourByThreeFillsAFourByThreeWindowAndLeavesBarsInAWiderOne) {
    TestWindow exact(800, 600);
    CD2D1Render fill(*display_, exact.id());
    fill.keepAspectRatio(2);
    ASSERT_EQ(fill.render(*picture_), 0);
    EXPECT_TRUE(near(exact.pixel(5, 300), kRed));
    EXPECT_TRUE(near(exact.pixel(795, 300), kBlue));

    TestWindow wide(1000, 600);
    CD2D1Render bars(*display_, wide.id());
    bars.keepAspectRatio(2);
    ASSERT_EQ(bars.render(*picture_), 0);
    EXPECT_TRUE(near(wide.pixel(50, 300), kBlack)) << "left bar";
    EXPECT_TRUE(near(wide.pixel(105, 300), kRed));
    EXPECT_TRUE(near(wide.pixel(895, 300), kBlue));
    EXPECT_TRUE(near(wide.pixel(950, 300), kBlack)) << "right bar";
}

TEST_F(D2D1RenderTest, StretchesByDefaultAndAViewAreaCropsThePicture) {
    TestWindow window(400, 300);
    CD2D1Render render(*display_, window.id());
    ASSERT_EQ(render.render(*picture_), 0);
    EXPECT_TRUE(near(window.pixel(10, 150), kRed));
    EXPECT_TRUE(near(window.pixel(390, 150), kBlue));

    // Only the right half: blue fills the window.
    render.adjustViewArea(80, 0, 0, 0);
    ASSERT_EQ(render.render(*picture_), 0);
    EXPECT_TRUE(near(window.pixel(10, 150), kBlue));
    EXPECT_TRUE(near(window.pixel(390, 150), kBlue));
}

TEST_F(D2D1RenderTest, AResizedWindowIsDrawnAtItsNewSize) {
    TestWindow window(320, 240);
    CD2D1Render render(*display_, window.id());
    ASSERT_EQ(render.render(*picture_), 0);
    window.resize(640, 480);
    ASSERT_EQ(render.render(*picture_), 0);
    EXPECT_TRUE(near(window.pixel(630, 240), kBlue)) << "the right edge moved with the window";
    EXPECT_TRUE(near(window.pixel(10, 470), kRed));
}

TEST_F(D2D1RenderTest, HiddenOrDestroyedWindowsDrawNothingAndDoNotFail) {
    TestWindow hidden(320, 240, false);
    CD2D1Render render(*display_, hidden.id());
    EXPECT_EQ(render.render(*picture_), -1);
    hidden.map();
    EXPECT_TRUE(near(hidden.pixel(10, 120), kBlack));
    EXPECT_EQ(render.render(*picture_), 0);
    EXPECT_TRUE(near(hidden.pixel(10, 120), kRed));

    hidden.destroy();
    EXPECT_EQ(render.render(*picture_), -1);
    EXPECT_EQ(render.render(*picture_), -1) << "and again, without crashing";

    CD2D1Render never(*display_, 0x7FFFFFF0);
    EXPECT_EQ(never.render(*picture_), -1);
}

TEST_F(D2D1RenderTest, PictureSizeChangesAreFollowed) {
    TestWindow window(320, 240);
    CD2D1Render render(*display_, window.id());
    ASSERT_EQ(render.render(*picture_), 0);
    EXPECT_EQ(render.pictureWidth(), 160);
    auto large = kvplay::allocatePicture(rfs::KVFrameHeader{}, 704, 576);
    std::memset(large->luma, 41, 704 * 576);
    std::memset(large->chromaU, 240, 352 * 288);
    std::memset(large->chromaV, 110, 352 * 288);
    ASSERT_EQ(render.render(*large), 0);
    EXPECT_EQ(render.pictureWidth(), 704);
    EXPECT_TRUE(near(window.pixel(10, 120), kBlue));
}
