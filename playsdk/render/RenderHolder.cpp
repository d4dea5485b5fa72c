#include "RenderHolder.h"

#include "BmpImage.h"
#include "RendererFactory.h"
#include "rfs/FrameRecord.h"

namespace kvplay {
namespace {

constexpr uint16_t kFisheyeStreamFlag = 1u << 13;

}  // namespace

void RenderHolder::setWindow(uintptr_t window, bool useSurfaceRenderer) {
    std::lock_guard guard(lock_);
    if (rendering_) {
        windowPending_ = true;
        pendingWindow_ = window;
        pendingSurfaceRenderer_ = useSurfaceRenderer;
        return;
    }
    window_ = window;
    // No window keeps the renderer; a new window starts a fresh one with fresh settings.
    if (window == 0)
        return;
    useSurfaceRenderer_ = useSurfaceRenderer;
    renderer_.reset();
    renderer_ = createRenderer(useSurfaceRenderer_ ? RendererKind::Surface : RendererKind::Scaling, window);
    if (!renderer_ && !useSurfaceRenderer_)
        renderer_ = createRenderer(RendererKind::Surface, window);
}

int32_t RenderHolder::renderWithReplacement(const KVPlayPictureDescriptor& picture) {
    int32_t result = -1;
    if (renderer_) {
        result = renderer_->render(picture);
        // Nothing drawn (a hidden, empty or vanished window) is not a failure.
        if (result != -2 && result != -3)
            return 0;
    }
    // A renderer that could not make what it needs, or declined the picture, hands over to the other
    // kind with everything it was told to draw; the view area is set again by the caller.
    const bool failed = renderer_ != nullptr;
    const RendererKind kind = failed ? (useSurfaceRenderer_ ? RendererKind::Scaling : RendererKind::Surface)
                                     : (useSurfaceRenderer_ ? RendererKind::Surface : RendererKind::Scaling);
    std::unique_ptr<CBaseRender> next = createRenderer(kind, window_);
    if (!next)
        return failed && result == -2 ? -2 : 0;
    if (renderer_)
        next->adoptSettings(*renderer_);
    renderer_ = std::move(next);
    return renderer_->render(picture) == -2 ? -2 : 0;
}

uintptr_t RenderHolder::window() {
    std::lock_guard guard(lock_);
    return window_;
}

void RenderHolder::setPictureCallback(KVPlayPictureCallback callback, void* user) {
    std::lock_guard guard(lock_);
    pictureCallback_ = callback;
    pictureUser_ = user;
    // Pictures have somewhere to go now, so decoding runs without a real window.
    if (callback && window_ == 0)
        window_ = 1;
}

void RenderHolder::setMessageCallback(KVPlayMessageCallback callback, void* user) {
    std::lock_guard guard(lock_);
    messageCallback_ = callback;
    messageUser_ = user;
}

void RenderHolder::setRenderCallback(KVPlayRenderCallback callback, void* user) {
    std::lock_guard guard(lock_);
    renderCallback_ = callback;
    renderUser_ = user;
}

bool RenderHolder::pictureSize(int32_t& width, int32_t& height) {
    std::lock_guard guard(lock_);
    if (!pictureShown_)
        return false;
    width = width_;
    height = height_;
    return true;
}

void RenderHolder::noteFisheyeFlag(const KVPlayPictureDescriptor& picture) {
    const bool fisheye = rfs::readFrameHeader(picture.header).video.videoFlags & kFisheyeStreamFlag;
    KVPlayMessageCallback callback = nullptr;
    void* user = nullptr;
    {
        std::lock_guard guard(lock_);
        if (fisheye == streamFisheye_)
            return;
        streamFisheye_ = fisheye;
        callback = messageCallback_;
        user = messageUser_;
    }
    if (callback)
        callback(fisheye ? KVPLAY_MSG_FISHEYE_STREAM_ON : KVPLAY_MSG_FISHEYE_STREAM_OFF, user);
}

int32_t RenderHolder::update(KVPlayPictureDescriptor& picture) {
    std::unique_lock guard(lock_);
    if (displayChanged_.exchange(false) && renderer_)
        renderer_->displayConfigurationChanged();
    rendering_ = true;
    const int32_t result = show(picture, guard);
    rendering_ = false;
    if (windowPending_) {
        windowPending_ = false;
        guard.unlock();
        setWindow(pendingWindow_, pendingSurfaceRenderer_);
    }
    return result;
}

int32_t RenderHolder::show(KVPlayPictureDescriptor& picture, std::unique_lock<std::recursive_mutex>& guard) {
    width_ = picture.width;
    height_ = picture.height;
    pictureShown_ = true;
    if (renderCallback_) {
        const int32_t handled = renderCallback_(&picture, renderUser_);
        if (handled == 0)
            return 0;
        if (handled != 1)
            return -2;
    }
    if (pictureCallback_) {
        bmp_.resize(bmpFileSize(picture.width, picture.height));
        writeBmp(picture, bmp_.data());
        KVPlayPicture delivered{};
        delivered.bmp = bmp_.data();
        delivered.size = static_cast<uint32_t>(bmp_.size());
        delivered.time = static_cast<int64_t>(rfs::readFrameHeader(picture.header).Time);
        pictureCallback_(&delivered, pictureUser_);
        return 0;
    }
    picture.channel = picture.header[6] & 0x7f;
    guard.unlock();
    noteFisheyeFlag(picture);
    guard.lock();
    if (window_ == 0)
        return 0;
    return renderWithReplacement(picture);
}

}  // namespace kvplay
