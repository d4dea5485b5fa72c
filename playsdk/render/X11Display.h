// The library's own connection to the X server, shared by every renderer: render threads draw through
// it without touching the program's toolkit connection.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

namespace kvplay {

struct WindowState {
    int32_t width = 0;
    int32_t height = 0;
    uint8_t depth = 0;
    bool viewable = false;
};

class X11Display {
public:
    // The display named by DISPLAY, opened on first use; null when there is none.
    static X11Display* instance();

    xcb_connection_t* connection() const { return connection_; }
    bool hasShm() const { return hasShm_; }
    // Size, depth and visibility of the window; nothing when it does not exist (any more).
    std::optional<WindowState> windowState(uint32_t window) const;
    // The window's state when something can be drawn into it: it exists, is shown and is not empty.
    std::optional<WindowState> drawableState(uint32_t window) const;
    // True when the request went through; the error, if any, is consumed.
    bool succeeded(xcb_void_cookie_t cookie) const;
    // The visual of the window, for drawing on it with cairo; null when it is gone.
    xcb_visualtype_t* visualOf(uint32_t window) const;

private:
    explicit X11Display(xcb_connection_t* connection);

    xcb_connection_t* connection_;
    bool hasShm_ = false;
};

}  // namespace kvplay
