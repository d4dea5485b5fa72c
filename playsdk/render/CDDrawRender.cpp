#include "CDDrawRender.h"

#include <cairo-xcb.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "LogSink.h"

namespace kvplay {
namespace {

void copyPlane(const uint8_t* from, int32_t fromStride, uint8_t* to, uint32_t toStride, int32_t width, int32_t rows) {
    for (int32_t y = 0; y < rows; ++y)
        std::memcpy(to + std::size_t(y) * toStride, from + std::size_t(y) * fromStride, width);
}

}  // namespace

CDDrawRender::~CDDrawRender() {
    if (gc_)
        xcb_free_gc(display_.connection(), gc_);
    port_.reset();
    xcb_flush(display_.connection());
}

int32_t CDDrawRender::prepare(const KVPlayPictureDescriptor& picture, const WindowState& window) {
    const int32_t w = picture.width, h = picture.height;
    if (w < 1280 && h < 720 && (window.width * 2 > w * 3 || window.height * 2 > h * 3))
        return -3;
    if (rebuild_) {
        rebuild_ = false;
        port_.reset();
        pictureWidth_ = pictureHeight_ = 0;
    }
    xcb_connection_t* c = display_.connection();
    if (!port_) {
        port_ = std::make_unique<XvPort>(display_, static_cast<uint32_t>(window_));
        if (!port_->usable()) {
            port_.reset();
            return -2;
        }
    }
    if (!gc_) {
        gc_ = xcb_generate_id(c);
        const uint32_t black = 0;
        if (!display_.succeeded(
                xcb_create_gc_checked(c, gc_, static_cast<uint32_t>(window_), XCB_GC_FOREGROUND, &black))) {
            gc_ = 0;
            return -2;
        }
    }
    if (w == pictureWidth_ && h == pictureHeight_)
        return 0;
    if (!port_->layout(w, h, layout_))
        return -2;
    try {
        image_.assign(layout_.size, 0);
    } catch (const std::bad_alloc&) {
        return -2;
    }
    pictureWidth_ = w;
    pictureHeight_ = h;
    return 0;
}

void CDDrawRender::writeYv12(const KVPlayPictureDescriptor& p) {
    // YV12 keeps the second chroma plane (V) before the first (U).
    const int32_t cw = (p.width + 1) / 2, ch = (p.height + 1) / 2;
    copyPlane(p.luma, p.lumaStride, image_.data() + layout_.offsets[0], layout_.pitches[0], p.width, p.height);
    copyPlane(p.chromaV, p.chromaStride, image_.data() + layout_.offsets[1], layout_.pitches[1], cw, ch);
    copyPlane(p.chromaU, p.chromaStride, image_.data() + layout_.offsets[2], layout_.pitches[2], cw, ch);
}

void CDDrawRender::fillBars(const WindowState& window, const PixelRect& d) {
    const auto rect = [](int32_t x, int32_t y, int32_t w, int32_t h) {
        return xcb_rectangle_t{static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<uint16_t>(w),
                               static_cast<uint16_t>(h)};
    };
    const xcb_rectangle_t bars[] = {
        rect(0, 0, window.width, d.top), rect(0, d.bottom, window.width, window.height - d.bottom),
        rect(0, d.top, d.left, d.height()), rect(d.right, d.top, window.width - d.right, d.height())};
    xcb_rectangle_t nonEmpty[4];
    uint32_t n = 0;
    for (const xcb_rectangle_t& r : bars)
        if (r.width > 0 && r.height > 0)
            nonEmpty[n++] = r;
    if (n)
        xcb_poly_fill_rectangle(display_.connection(), static_cast<uint32_t>(window_), gc_, n, nonEmpty);
}

void CDDrawRender::drawOverlaysOnWindow(const WindowState& window, const PixelRect& destination) {
    xcb_visualtype_t* visual = display_.visualOf(static_cast<uint32_t>(window_));
    if (!visual)
        return;
    cairo_surface_t* surface = cairo_xcb_surface_create(display_.connection(), static_cast<uint32_t>(window_), visual,
                                                        window.width, window.height);
    drawOverlays(surface, destination);
    cairo_surface_destroy(surface);
}

int32_t CDDrawRender::render(const KVPlayPictureDescriptor& picture) {
    const std::optional<WindowState> window = display_.drawableState(static_cast<uint32_t>(window_));
    if (!window || picture.width <= 0 || picture.height <= 0)
        return -1;
    if (const int32_t ready = prepare(picture, *window); ready != 0)
        return ready;
    writeYv12(picture);
    PixelRect source, destination;
    placePicture(window->width, window->height, source, destination);
    takeAspectChange();
    fillBars(*window, destination);
    xcb_connection_t* c = display_.connection();
    const auto put = xcb_xv_put_image_checked(
        c, port_->port(), static_cast<uint32_t>(window_), gc_, kFourccYv12, static_cast<int16_t>(source.left),
        static_cast<int16_t>(source.top), static_cast<uint16_t>(source.width()), static_cast<uint16_t>(source.height()),
        static_cast<int16_t>(destination.left), static_cast<int16_t>(destination.top),
        static_cast<uint16_t>(destination.width()), static_cast<uint16_t>(destination.height()),
        static_cast<uint16_t>(picture.width), static_cast<uint16_t>(picture.height), layout_.size, image_.data());
    if (!display_.succeeded(put)) {
        // Lost: this frame is skipped and everything is made again for the next one.
        rebuild_ = true;
        return -1;
    }
    if (overlaysNeeded())
        drawOverlaysOnWindow(*window, destination);
    xcb_flush(c);
    if (!firstRenderLogged_) {
        firstRenderLogged_ = true;
        logLine("===vane ddraw channel:%d", picture.channel);
    }
    return 0;
}

}  // namespace kvplay
