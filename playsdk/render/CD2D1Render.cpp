#include "CD2D1Render.h"

#include <libyuv.h>

#include <cstring>
#include <new>

#include "LogSink.h"

namespace kvplay {

void CD2D1Render::releaseResources() {
    presenter_.reset();
    backBuffer_ = nullptr;
    clientWidth_ = clientHeight_ = 0;
    pixels_.clear();
    pictureWidth_ = pictureHeight_ = 0;
}

int32_t CD2D1Render::prepare(const KVPlayPictureDescriptor& picture, const WindowState& window) {
    if (!presenter_)
        presenter_ = std::make_unique<X11Presenter>(display_, static_cast<uint32_t>(window_));
    bool fresh = false;
    backBuffer_ = presenter_->backBuffer(window.width, window.height, fresh);
    if (!backBuffer_)
        return -2;
    clientWidth_ = window.width;
    clientHeight_ = window.height;
    clearBackground_ |= fresh;
    if (picture.width == pictureWidth_ && picture.height == pictureHeight_)
        return 0;
    try {
        pixels_.assign(std::size_t(picture.width) * picture.height * 4, 0);
    } catch (const std::bad_alloc&) {
        return -2;
    }
    pictureWidth_ = picture.width;
    pictureHeight_ = picture.height;
    clearBackground_ = true;
    return 0;
}

int32_t CD2D1Render::render(const KVPlayPictureDescriptor& picture) {
    const std::optional<WindowState> window = display_.drawableState(static_cast<uint32_t>(window_));
    if (!window || picture.width <= 0 || picture.height <= 0)
        return -1;
    if (const int32_t ready = prepare(picture, *window); ready != 0)
        return ready;

    const int pictureStride = picture.width * 4;
    libyuv::I420ToARGB(picture.luma, picture.lumaStride, picture.chromaU, picture.chromaStride, picture.chromaV,
                       picture.chromaStride, pixels_.data(), pictureStride, picture.width, picture.height);
    PixelRect source, destination;
    placePicture(clientWidth_, clientHeight_, source, destination);
    const int backStride = clientWidth_ * 4;
    const bool overlays = overlaysNeeded();
    if (takeAspectChange() || clearBackground_ || overlays) {
        std::memset(backBuffer_, 0, std::size_t(backStride) * clientHeight_);
        clearBackground_ = false;
    }
    if (source.width() > 0 && source.height() > 0 && destination.width() > 0 && destination.height() > 0)
        libyuv::ARGBScale(pixels_.data() + std::size_t(source.top) * pictureStride + source.left * 4, pictureStride,
                          source.width(), source.height(),
                          backBuffer_ + std::size_t(destination.top) * backStride + destination.left * 4, backStride,
                          destination.width(), destination.height(), libyuv::kFilterBilinear);
    if (overlays) {
        cairo_surface_t* surface = cairo_image_surface_create_for_data(backBuffer_, CAIRO_FORMAT_RGB24, clientWidth_,
                                                                       clientHeight_, backStride);
        drawOverlays(surface, destination);
        cairo_surface_destroy(surface);
    }
    if (!presenter_->present(window->depth)) {
        // The window went away or the server refused: start afresh with the next picture.
        releaseResources();
        return -1;
    }
    if (!firstRenderLogged_) {
        firstRenderLogged_ = true;
        logLine("===vane d2d1 channel:%d", picture.channel);
    }
    return 0;
}

}  // namespace kvplay
