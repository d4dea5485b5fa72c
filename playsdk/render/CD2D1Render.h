// The scaling renderer: each I420 picture is converted to 32-bit pixels, scaled bilinearly into its
// place in a back buffer the size of the window and presented into the window over the library's own
// X connection.
#pragma once

#include <memory>
#include <vector>

#include "CBaseRender.h"
#include "X11Presenter.h"

namespace kvplay {

class CD2D1Render final : public CBaseRender {
public:
    CD2D1Render(X11Display& display, uintptr_t window) : CBaseRender(window), display_(display) {}

    int32_t render(const KVPlayPictureDescriptor& picture) override;

private:
    // Device resources for the window and picture sizes: 0 ready, -1 nothing can be drawn, -2 failed.
    int32_t prepare(const KVPlayPictureDescriptor& picture, const WindowState& window);
    void releaseResources();

    X11Display& display_;
    std::unique_ptr<X11Presenter> presenter_;
    uint8_t* backBuffer_ = nullptr;
    int32_t clientWidth_ = 0;
    int32_t clientHeight_ = 0;
    std::vector<uint8_t> pixels_;  // the picture in 32-bit pixels
    bool clearBackground_ = false;
    bool firstRenderLogged_ = false;
};

}  // namespace kvplay
