// A port of the X video extension that takes YV12 images and scales them in hardware, and the layout
// (pitches and offsets) the server wants for an image of a given size.
#pragma once

#include <xcb/xv.h>

#include <cstdint>
#include <vector>

#include "X11Display.h"

namespace kvplay {

constexpr uint32_t kFourccYv12 = 0x32315659;  // "YV12"

struct Yv12Layout {
    uint32_t size = 0;
    uint32_t pitches[3] = {};
    uint32_t offsets[3] = {};
};

class XvPort {
public:
    XvPort(X11Display& display, uint32_t window);
    ~XvPort();
    XvPort(const XvPort&) = delete;
    XvPort& operator=(const XvPort&) = delete;

    // False when the server has no adaptor for YV12 images or none of its ports could be grabbed.
    bool usable() const { return port_ != 0; }
    xcb_xv_port_t port() const { return port_; }
    // The server's layout of a YV12 image of this size; false when it refuses the size.
    bool layout(int32_t width, int32_t height, Yv12Layout& out) const;

private:
    bool takesYv12(xcb_xv_port_t port) const;

    X11Display& display_;
    xcb_xv_port_t port_ = 0;
};

}  // namespace kvplay
