#include "UploadedPictures.h"

#include <cstring>

namespace kvplay {
namespace {

struct Reading {
    const uint8_t* bytes;
    std::size_t size;
    std::size_t at = 0;
};

cairo_status_t readPng(void* closure, unsigned char* data, unsigned int length) {
    auto* r = static_cast<Reading*>(closure);
    if (length > r->size - r->at)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, r->bytes + r->at, length);
    r->at += length;
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

int32_t UploadedPictures::upload(const void* bytes, uint32_t size) {
    if (!bytes || size == 0)
        return -1;
    for (int32_t i = 0; i < kSlots; ++i) {
        if (slots_[i])
            continue;
        Reading reading{static_cast<const uint8_t*>(bytes), size};
        slots_[i].reset(cairo_image_surface_create_from_png_stream(readPng, &reading));
        if (cairo_surface_status(slots_[i].get()) != CAIRO_STATUS_SUCCESS) {
            slots_[i].reset();
            return -1;
        }
        return i + 1;
    }
    return -1;
}

int32_t UploadedPictures::remove(int32_t id) {
    if (id < 1 || id > kSlots)
        return -1;
    slots_[id - 1].reset();
    return 0;
}

cairo_surface_t* UploadedPictures::picture(int32_t id) const {
    return id >= 1 && id <= kSlots ? slots_[id - 1].get() : nullptr;
}

}  // namespace kvplay
