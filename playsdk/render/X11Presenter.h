// A back buffer of 32-bit pixels (blue, green, red, unused) the size of a window, and its way into the
// window: shared memory where the server offers it, plain image requests otherwise. Each present waits
// until the server has taken the pixels, so the buffer may be drawn again at once.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

#include "X11Display.h"

namespace kvplay {

class X11Presenter {
public:
    // useShared: shared memory when the server has it; false sends plain images.
    X11Presenter(X11Display& display, uint32_t window, bool useShared = true)
        : display_(display), window_(window), useShared_(useShared && display.hasShm()) {}
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // The buffer for a window of this size (stride width × 4), kept while the size stays; null when
    // memory runs out. `fresh` tells that it was (re)made and holds nothing yet.
    uint8_t* backBuffer(int32_t width, int32_t height, bool& fresh);
    // Shows the whole buffer in the window; false when the window cannot take it (destroyed).
    bool present(uint8_t depth);

private:
    bool attachShared(std::size_t bytes);
    void releaseBuffer();
    bool putShared(uint8_t depth);
    bool putInStrips(uint8_t depth);

    X11Display& display_;
    const uint32_t window_;
    const bool useShared_;
    xcb_gcontext_t gc_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    // Shared memory segment, or a plain buffer when the server has no shared memory.
    uint32_t segment_ = 0;
    uint8_t* shared_ = nullptr;
    std::vector<uint8_t> plain_;
};

}  // namespace kvplay
