// The surface renderer: pictures go to the X server as YV12 images through the X video extension,
// which scales them in hardware into the window. It declines small pictures that would be enlarged
// more than one and a half times (the scaling renderer looks better there) and fails where the server
// has no video adaptor, so the render holder switches renderers.
#pragma once

#include <memory>
#include <vector>

#include "CBaseRender.h"
#include "X11Display.h"
#include "XvPort.h"

namespace kvplay {

class CDDrawRender final : public CBaseRender {
public:
    CDDrawRender(X11Display& display, uintptr_t window) : CBaseRender(window), display_(display) {}
    ~CDDrawRender() override;

    int32_t render(const KVPlayPictureDescriptor& picture) override;
    void displayConfigurationChanged() override { rebuild_ = true; }

private:
    // 0 ready, -1 nothing can be drawn, -2 the port or the image could not be made, -3 declined.
    int32_t prepare(const KVPlayPictureDescriptor& picture, const WindowState& window);
    void writeYv12(const KVPlayPictureDescriptor& picture);
    void fillBars(const WindowState& window, const PixelRect& destination);
    void drawOverlaysOnWindow(const WindowState& window, const PixelRect& destination);

    X11Display& display_;
    std::unique_ptr<XvPort> port_;
    xcb_gcontext_t gc_ = 0;  // black, for the bars
    Yv12Layout layout_;
    std::vector<uint8_t> image_;
    bool rebuild_ = false;
    bool firstRenderLogged_ = false;
};

}  // namespace kvplay
