// What is drawn over the pictures: text slots, the wrapper draw callback with its primitives, and
// uploaded PNG pictures blended with their alpha.
#include <cairo.h>

#include <cstring>
#include <functional>

#include "CD2D1Render.h"
#include "PictureDescriptor.h"
#include "TestWindow.h"

namespace {

using kvplay::CD2D1Render;

// A grey 160 × 120 picture (luma 126: about 128 in every colour).
std::unique_ptr<kvplay::PictureDescriptor> greyPicture() {
    auto p = kvplay::allocatePicture(rfs::KVFrameHeader{}, 160, 120);
    std::memset(p->luma, 126, 160 * 120);
    std::memset(p->chromaU, 128, 80 * 60);
    std::memset(p->chromaV, 128, 80 * 60);
    return p;
}

std::vector<uint8_t> pngOf(int width, int height, double r, double g, double b, double a) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgba(cr, r, g, b, a);
    cairo_paint(cr);
    cairo_destroy(cr);
    std::vector<uint8_t> png;
    cairo_surface_write_to_png_stream(
        s,
        [](void* out, const unsigned char* data, unsigned int length) {
            static_cast<std::vector<uint8_t>*>(out)->insert(static_cast<std::vector<uint8_t>*>(out)->end(), data,
                                                            data + length);
            return CAIRO_STATUS_SUCCESS;
        },
        &png);
    cairo_surface_destroy(s);
    return png;
}

bool within(int value, int low, int high) {
    return value >= low && value <= high;
}

class OverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(kvplay::X11Display::instance(), nullptr) << "these tests run under Xvfb";
        render_ = std::make_unique<CD2D1Render>(*kvplay::X11Display::instance(), window_.id());
    }
    // Renders once with `draw` as the wrapper draw callback, given the renderer.
    void renderDrawing(std::function<void(CD2D1Render&)> draw) {
        draw_ = std::move(draw);
        render_->registerWrapperDrawCallback(reinterpret_cast<void*>(+[](const KVPlayDrawInfo* info, void* user) {
                                                 auto* self = static_cast<OverlayTest*>(user);
                                                 self->info_ = *info;
                                                 self->draw_(*self->render_);
                                             }),
                                             this);
        ASSERT_EQ(render_->render(*picture_), 0);
    }

    TestWindow window_{400, 300};
    std::unique_ptr<CD2D1Render> render_;
    std::unique_ptr<kvplay::PictureDescriptor> picture_ = greyPicture();
    std::function<void(CD2D1Render&)> draw_;
    KVPlayDrawInfo info_{};
};

}  // namespace

TEST_F(OverlayTest, TextSlotsAppearInTheirColour) {
    KVPlayOsdItem item{};
    std::strcpy(item.fontFace, "Arial");
    item.fontHeight = 48;
    item.red = 255;
    item.left = 10, item.top = 10, item.right = 390, item.bottom = 100;
    std::strcpy(item.text, "TARN 2026");
    ASSERT_EQ(render_->setOsdString(3, &item), 0);
    EXPECT_EQ(render_->setOsdString(36, &item), -1);
    ASSERT_EQ(render_->render(*picture_), 0);
    int red = 0, belowBox = 0;
    for (int y = 10; y < 100; y += 2)
        for (int x = 10; x < 390; x += 2) {
            const auto p = window_.pixel(x, y);
            red += p[2] > 200 && p[1] < 80 && p[0] < 80;
        }
    for (int x = 10; x < 390; x += 4) {
        const auto p = window_.pixel(x, 150);
        belowBox += p[2] > 200 && p[1] < 80;
    }
    EXPECT_GT(red, 50) << "red text in the slot's box";
    EXPECT_EQ(belowBox, 0);

    KVPlayOsdItem all[36];
    uint8_t enabled[36];
    ASSERT_EQ(render_->getAllOsdStrings(all, enabled), 0);
    EXPECT_EQ(enabled[3], 1);
    EXPECT_EQ(enabled[0], 0);
    EXPECT_STREQ(all[3].text, "TARN 2026");
    ASSERT_EQ(render_->removeOsdString(3), 0);
    ASSERT_EQ(render_->render(*picture_), 0);
    EXPECT_TRUE(within(window_.pixel(200, 50)[2], 110, 145)) << "grey again";
}

TEST_F(OverlayTest, PrimitivesDrawOnlyInsideTheWrapperCallback) {
    const float green[] = {0, 1, 0};
    const float blue[] = {0, 0, 1};
    const float box[] = {0.25f, 0.25f, 0.75f, 0.75f};
    const float fill[] = {0.0f, 0.0f, 0.2f, 0.2f};
    EXPECT_EQ(render_->painter().setColor(green), -1);
    EXPECT_EQ(render_->painter().drawRects(box, 1), -1);
    renderDrawing([&](CD2D1Render& r) {
        EXPECT_EQ(r.painter().setColor(green), 0);
        EXPECT_EQ(r.painter().drawRects(box, 1), 0);
        EXPECT_EQ(r.painter().setColor(blue), 0);
        EXPECT_EQ(r.painter().drawSolidRects(fill, 1, 0.5f), 0);
    });
    EXPECT_EQ(info_.width, 400);
    EXPECT_EQ(info_.height, 300);
    EXPECT_NE(info_.dc, nullptr);
    const auto edge = window_.pixel(100, 150);  // the box's left edge
    EXPECT_GT(edge[1], 200);
    EXPECT_LT(edge[2], 60);
    const auto inside = window_.pixel(200, 150);
    EXPECT_TRUE(within(inside[1], 110, 145)) << "only the outline is drawn";
    const auto half = window_.pixel(20, 20);  // grey under half-transparent blue
    EXPECT_TRUE(within(half[0], 175, 205));
    EXPECT_TRUE(within(half[2], 50, 80));
    EXPECT_EQ(render_->painter().drawRects(box, 1), -1) << "after the callback";
}

TEST_F(OverlayTest, UploadedPicturesBlendWithTheirAlphaAndAre23AtMost) {
    const std::vector<uint8_t> white = pngOf(8, 8, 1, 1, 1, 1);
    const std::vector<uint8_t> seeThrough = pngOf(8, 8, 1, 1, 1, 0.5);
    const int32_t opaque = render_->uploadPicture(white.data(), static_cast<uint32_t>(white.size()));
    const int32_t half = render_->uploadPicture(seeThrough.data(), static_cast<uint32_t>(seeThrough.size()));
    EXPECT_EQ(opaque, 1);
    EXPECT_EQ(half, 2);
    const uint8_t notPng[] = {1, 2, 3, 4};
    EXPECT_EQ(render_->uploadPicture(notPng, sizeof notPng), -1);
    const float left[] = {0.0f, 0.0f, 0.5f, 1.0f};
    const float right[] = {0.5f, 0.0f, 1.0f, 1.0f};
    renderDrawing([&](CD2D1Render& r) {
        EXPECT_EQ(r.painter().drawPicture(opaque, left, 1.0f), 0);
        EXPECT_EQ(r.painter().drawPicture(half, right, 1.0f), 0);
        EXPECT_EQ(r.painter().drawPicture(9, right, 1.0f), -1) << "an empty slot";
    });
    EXPECT_GT(window_.pixel(100, 150)[1], 245);
    EXPECT_TRUE(within(window_.pixel(300, 150)[1], 180, 205)) << "grey under white at half alpha";

    for (int32_t expected = 3; expected <= 23; ++expected)
        EXPECT_EQ(render_->uploadPicture(white.data(), static_cast<uint32_t>(white.size())), expected);
    EXPECT_EQ(render_->uploadPicture(white.data(), static_cast<uint32_t>(white.size())), -1) << "a 24th picture";
    EXPECT_EQ(render_->deletePicture(5), 0);
    EXPECT_EQ(render_->uploadPicture(white.data(), static_cast<uint32_t>(white.size())), 5);
}

TEST_F(OverlayTest, DrawFunctionGetsThePicturesRectangle) {
    render_->keepAspectRatio(2);  // 4:3 in 400 × 300 fills the window
    struct Seen {
        int32_t width = 0, height = 0, left = -1, top = -1;
    } seen;
    render_->registerDrawFunction(
        reinterpret_cast<void*>(+[](void* dc, int32_t w, int32_t h, void* user, int32_t l, int32_t t) {
            *static_cast<Seen*>(user) = {w, h, l, t};
            cairo_t* cr = static_cast<cairo_t*>(dc);
            cairo_set_source_rgb(cr, 1, 0, 0);
            cairo_rectangle(cr, l, t, 10, 10);
            cairo_fill(cr);
        }),
        &seen);
    ASSERT_EQ(render_->render(*picture_), 0);
    EXPECT_EQ(seen.width, 400);
    EXPECT_EQ(seen.height, 300);
    EXPECT_EQ(seen.left, 0);
    EXPECT_GT(window_.pixel(5, 5)[2], 245);
}
