#include "BmpImage.h"

#include <libyuv.h>

#include <cstdlib>
#include <cstring>

namespace kvplay {
namespace {

void put16(uint8_t* at, uint16_t v) {
    std::memcpy(at, &v, 2);
}
void put32(uint8_t* at, uint32_t v) {
    std::memcpy(at, &v, 4);
}
uint16_t get16(const uint8_t* at) {
    uint16_t v;
    std::memcpy(&v, at, 2);
    return v;
}
uint32_t get32(const uint8_t* at) {
    uint32_t v;
    std::memcpy(&v, at, 4);
    return v;
}

}  // namespace

std::size_t bmpRowBytes(int32_t width) {
    return (std::size_t(width) * 3 + 3) & ~std::size_t{3};
}

std::size_t bmpFileSize(int32_t width, int32_t height) {
    return kBmpHeadersSize + bmpRowBytes(width) * height;
}

void writeBmp(const KVPlayPictureDescriptor& p, uint8_t* out) {
    const std::size_t imageSize = bmpRowBytes(p.width) * p.height;
    std::memset(out, 0, kBmpHeadersSize);
    out[0] = 'B';
    out[1] = 'M';
    put32(out + 2, static_cast<uint32_t>(kBmpHeadersSize + imageSize));
    put32(out + 10, kBmpHeadersSize);
    put32(out + 14, 40);
    put32(out + 18, static_cast<uint32_t>(p.width));
    put32(out + 22, static_cast<uint32_t>(-p.height));  // negative: rows top-down
    put16(out + 26, 1);
    put16(out + 28, 24);
    put32(out + 34, static_cast<uint32_t>(imageSize));
    uint8_t* rows = out + kBmpHeadersSize;
    const int stride = static_cast<int>(bmpRowBytes(p.width));
    // libyuv's RGB24 is blue, green, red in memory: the order of BMP pixels.
    libyuv::I420ToRGB24(p.luma, p.lumaStride, p.chromaU, p.chromaStride, p.chromaV, p.chromaStride, rows, stride,
                        p.width, p.height);
    const std::size_t pixels = std::size_t(p.width) * 3;
    for (int32_t y = 0; y < p.height; ++y)
        std::memset(rows + std::size_t(y) * stride + pixels, 0, std::size_t(stride) - pixels);
}

std::unique_ptr<PictureDescriptor> pictureFromBmp(const void* image, std::size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(image);
    if (!bytes || size < kBmpHeadersSize || bytes[0] != 'B' || bytes[1] != 'M')
        return nullptr;
    const auto width = static_cast<int32_t>(get32(bytes + 18));
    const auto signedHeight = static_cast<int32_t>(get32(bytes + 22));
    const uint32_t dataOffset = get32(bytes + 10);
    if (get32(bytes + 14) < 40 || width <= 0 || width > 16384 || signedHeight == 0 || signedHeight < -16384 ||
        signedHeight > 16384 || get16(bytes + 26) == 0 || get16(bytes + 28) != 24 || get32(bytes + 30) != 0)
        return nullptr;
    const int32_t height = std::abs(signedHeight);
    const std::size_t stride = bmpRowBytes(width);
    if (dataOffset < kBmpHeadersSize || dataOffset > size || (size - dataOffset) / stride < std::size_t(height))
        return nullptr;

    rfs::KVFrameHeader header{};
    header.FrameTag = rfs::KVFrameTag;
    header.frameType = rfs::FrameI;
    header.codec = rfs::CodecH264;
    header.video.width = static_cast<uint16_t>(width);
    header.video.height = static_cast<uint16_t>(height);
    header.video.frameRate = 25;
    std::unique_ptr<PictureDescriptor> p = allocatePicture(header, width, height);
    if (!p)
        return nullptr;
    p->still = 1;
    // A positive height stores the bottom row first; libyuv flips on a negative height.
    libyuv::RGB24ToI420(bytes + dataOffset, static_cast<int>(stride), p->luma, p->lumaStride, p->chromaU,
                        p->chromaStride, p->chromaV, p->chromaStride, width, signedHeight > 0 ? -height : height);
    return p;
}

}  // namespace kvplay
