// 24-bit BMP file images: written from I420 pictures for the picture callback (top-down, rows padded to
// 4 bytes) and read back into I420 for the still picture a caller hands in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "PictureDescriptor.h"

namespace kvplay {

constexpr std::size_t kBmpHeadersSize = 54;

std::size_t bmpRowBytes(int32_t width);
std::size_t bmpFileSize(int32_t width, int32_t height);
// Writes the whole file image into out, which holds bmpFileSize bytes.
void writeBmp(const KVPlayPictureDescriptor& picture, uint8_t* out);
// The picture of an uncompressed 24-bit BMP, with the header of a still key frame; null when the image
// is not one or does not hold all its rows.
std::unique_ptr<PictureDescriptor> pictureFromBmp(const void* image, std::size_t size);

}  // namespace kvplay
