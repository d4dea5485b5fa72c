#include "X11Presenter.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace kvplay {
X11Presenter::~X11Presenter() {
    releaseBuffer();
    if (gc_)
        xcb_free_gc(display_.connection(), gc_);
    xcb_flush(display_.connection());
}

void X11Presenter::releaseBuffer() {
    if (shared_) {
        xcb_shm_detach(display_.connection(), segment_);
        shmdt(shared_);
        shared_ = nullptr;
    }
    plain_.clear();
    plain_.shrink_to_fit();
    width_ = height_ = 0;
}

bool X11Presenter::attachShared(std::size_t bytes) {
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0)
        return false;
    void* memory = shmat(id, nullptr, 0);
    xcb_connection_t* c = display_.connection();
    segment_ = xcb_generate_id(c);
    const bool attached =
        memory != reinterpret_cast<void*>(-1) && display_.succeeded(xcb_shm_attach_checked(c, segment_, id, 0));
    // Marked for removal at once: it goes away with the last detach, even if this process dies.
    shmctl(id, IPC_RMID, nullptr);
    if (!attached) {
        if (memory != reinterpret_cast<void*>(-1))
            shmdt(memory);
        return false;
    }
    shared_ = static_cast<uint8_t*>(memory);
    return true;
}

uint8_t* X11Presenter::backBuffer(int32_t width, int32_t height, bool& fresh) {
    fresh = false;
    if (width == width_ && height == height_)
        return shared_ ? shared_ : plain_.data();
    releaseBuffer();
    fresh = true;
    const std::size_t bytes = std::size_t(width) * height * 4;
    if (!(useShared_ && attachShared(bytes))) {
        try {
            plain_.assign(bytes, 0);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    width_ = width;
    height_ = height;
    return shared_ ? shared_ : plain_.data();
}

bool X11Presenter::putShared(uint8_t depth) {
    xcb_connection_t* c = display_.connection();
    return display_.succeeded(xcb_shm_put_image_checked(c, window_, gc_, width_, height_, 0, 0, width_, height_, 0, 0,
                                                        depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_, 0));
}

bool X11Presenter::putInStrips(uint8_t depth) {
    xcb_connection_t* c = display_.connection();
    const std::size_t stride = std::size_t(width_) * 4;
    const std::size_t room = std::size_t(xcb_get_maximum_request_length(c)) * 4 - 64;
    const int32_t rowsPerStrip = std::max<int32_t>(1, static_cast<int32_t>(room / stride));
    for (int32_t y = 0; y < height_; y += rowsPerStrip) {
        const int32_t rows = std::min(rowsPerStrip, height_ - y);
        const auto cookie =
            xcb_put_image_checked(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_, width_, rows, 0, static_cast<int16_t>(y),
                                  0, depth, static_cast<uint32_t>(stride * rows), plain_.data() + stride * y);
        if (!display_.succeeded(cookie))
            return false;
    }
    return true;
}

bool X11Presenter::present(uint8_t depth) {
    if (width_ == 0 || height_ == 0)
        return false;
    xcb_connection_t* c = display_.connection();
    if (!gc_) {
        gc_ = xcb_generate_id(c);
        if (!display_.succeeded(xcb_create_gc_checked(c, gc_, window_, 0, nullptr))) {
            gc_ = 0;
            return false;
        }
    }
    return shared_ ? putShared(depth) : putInStrips(depth);
}

}  // namespace kvplay
