// Binds an instance to where its pictures go: the window (and, with the window renderers, the renderer
// drawing into it), a picture callback that receives every picture as a BMP image instead, and the
// caller's render callback that may take over a picture.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "CBaseRender.h"
#include "KVPlay.h"
#include "PictureDescriptor.h"

namespace kvplay {

class RenderHolder {
public:
    // A new window gets a new renderer: the surface renderer when asked for it, else the scaling one.
    void setWindow(uintptr_t window, bool useSurfaceRenderer);
    // Noted here and passed to the renderer with the next picture, so the caller (the display watcher,
    // holding the instance registry) never waits for a render in progress.
    void displayConfigurationChanged() { displayChanged_ = true; }
    uintptr_t window();
    void setPictureCallback(KVPlayPictureCallback callback, void* user);
    void setMessageCallback(KVPlayMessageCallback callback, void* user);
    void setRenderCallback(KVPlayRenderCallback callback, void* user);

    // An operation on the renderer, under the render lock; -1 without a renderer. Primitives called
    // from the wrapper draw callback come back here on the render thread, which holds the lock already.
    template <typename Operation>
    int32_t withRenderer(Operation operation) {
        std::lock_guard guard(lock_);
        return renderer_ ? operation(*renderer_) : -1;
    }

    // Shows one picture: 0, or -2 when the render callback refused it or the renderer could not make
    // what it needs (a resources shortage).
    int32_t update(KVPlayPictureDescriptor& picture);
    // The size of the last picture shown; false before the first.
    bool pictureSize(int32_t& width, int32_t& height);

private:
    void noteFisheyeFlag(const KVPlayPictureDescriptor& picture);
    int32_t renderWithReplacement(const KVPlayPictureDescriptor& picture);
    // The picture to the callbacks or the renderer; the lock is held again when it returns.
    int32_t show(KVPlayPictureDescriptor& picture, std::unique_lock<std::recursive_mutex>& guard);

    // Recursive: callbacks called while it is held may ask the instance for its picture size.
    std::recursive_mutex lock_;
    uintptr_t window_ = 0;
    std::unique_ptr<CBaseRender> renderer_;
    bool useSurfaceRenderer_ = true;
    std::atomic<bool> displayChanged_{false};
    // A window set from inside a callback of the render in progress waits until the render is done.
    bool rendering_ = false;
    bool windowPending_ = false;
    uintptr_t pendingWindow_ = 0;
    bool pendingSurfaceRenderer_ = true;
    KVPlayPictureCallback pictureCallback_ = nullptr;
    void* pictureUser_ = nullptr;
    std::vector<uint8_t> bmp_;
    KVPlayMessageCallback messageCallback_ = nullptr;
    void* messageUser_ = nullptr;
    KVPlayRenderCallback renderCallback_ = nullptr;
    void* renderUser_ = nullptr;
    bool streamFisheye_ = false;
    bool pictureShown_ = false;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace kvplay
