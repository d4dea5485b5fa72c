#include "PictureDescriptor.h"

#include <libyuv.h>

#include <cstring>
#include <new>

namespace kvplay {
namespace {

int32_t half(int32_t n) {
    return (n + 1) / 2;
}

}  // namespace

std::size_t pictureBytes(int32_t width, int32_t height) {
    return std::size_t(width) * height + 2 * std::size_t(half(width)) * half(height);
}

std::unique_ptr<PictureDescriptor> allocatePicture(const rfs::KVFrameHeader& header, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    std::unique_ptr<PictureDescriptor> p(new (std::nothrow) PictureDescriptor{});
    if (!p)
        return nullptr;
    p->pixels.reset(new (std::nothrow) uint8_t[pictureBytes(width, height)]);
    if (!p->pixels)
        return nullptr;
    std::memcpy(p->header, &header, sizeof p->header);
    p->width = width;
    p->height = height;
    p->lumaStride = width;
    p->chromaStride = half(width);
    p->luma = p->pixels.get();
    p->chromaU = p->luma + std::size_t(width) * height;
    p->chromaV = p->chromaU + std::size_t(half(width)) * half(height);
    p->channel = header.channel & 0x7f;
    return p;
}

std::unique_ptr<PictureDescriptor> pictureFromOutput(const rfs::KVFrameHeader& header, const DecodeOutput& out) {
    if (out.owner && out.chromaV && out.width > 0 && out.height > 0) {
        std::unique_ptr<PictureDescriptor> p(new (std::nothrow) PictureDescriptor{});
        if (!p)
            return nullptr;
        std::memcpy(p->header, &header, sizeof p->header);
        p->luma = const_cast<uint8_t*>(out.luma);
        p->chromaU = const_cast<uint8_t*>(out.chromaU);
        p->chromaV = const_cast<uint8_t*>(out.chromaV);
        p->width = out.width;
        p->height = out.height;
        p->lumaStride = out.lumaStride;
        p->chromaStride = out.chromaStride;
        p->channel = header.channel & 0x7f;
        p->decoderPlanes = out.owner;
        return p;
    }
    std::unique_ptr<PictureDescriptor> p = allocatePicture(header, out.width, out.height);
    if (!p)
        return nullptr;
    if (out.chromaV)
        libyuv::I420Copy(out.luma, out.lumaStride, out.chromaU, out.chromaStride, out.chromaV, out.chromaStride,
                         p->luma, p->lumaStride, p->chromaU, p->chromaStride, p->chromaV, p->chromaStride, out.width,
                         out.height);
    else
        libyuv::NV12ToI420(out.luma, out.lumaStride, out.chromaU, out.chromaStride, p->luma, p->lumaStride, p->chromaU,
                           p->chromaStride, p->chromaV, p->chromaStride, out.width, out.height);
    return p;
}

std::unique_ptr<PictureDescriptor> blankPicture() {
    rfs::KVFrameHeader header{};
    header.FrameTag = rfs::KVFrameTag;
    std::unique_ptr<PictureDescriptor> p = allocatePicture(header, 32, 32);
    if (!p)
        return nullptr;
    std::memset(p->luma, 0, 32 * 32);
    std::memset(p->chromaU, 128, 2 * 16 * 16);
    return p;
}

}  // namespace kvplay
