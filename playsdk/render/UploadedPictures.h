// Pictures a caller uploads (PNG, with alpha) to draw over the video: 23 numbered slots per renderer.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <memory>

namespace kvplay {

class UploadedPictures {
public:
    static constexpr int32_t kSlots = 23;

    // The slot number (1..23) holding the decoded PNG, or -1 when every slot is taken, the bytes are
    // not a PNG or memory runs out.
    int32_t upload(const void* bytes, uint32_t size);
    int32_t remove(int32_t id);
    // The decoded picture of a slot, or null.
    cairo_surface_t* picture(int32_t id) const;

private:
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
    };
    std::array<std::unique_ptr<cairo_surface_t, SurfaceDeleter>, kSlots> slots_;
};

}  // namespace kvplay
