#include "I420Picture.h"

#include <libyuv.h>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

namespace kvplay {
namespace {

bool isI420(int format) {
    return format == AV_PIX_FMT_YUV420P || format == AV_PIX_FMT_YUVJ420P;
}

bool is422(int format) {
    return format == AV_PIX_FMT_YUV422P || format == AV_PIX_FMT_YUVJ422P;
}

bool is444(int format) {
    return format == AV_PIX_FMT_YUV444P || format == AV_PIX_FMT_YUVJ444P;
}

}  // namespace

bool I420Picture::describe(const AVFrame& frame, DecodeOutput& out) {
    const int width = frame.width;
    const int height = frame.height;
    if (width <= 0 || height <= 0)
        return false;
    if (isI420(frame.format)) {
        out = {frame.data[0], frame.data[1],     frame.data[2],     width,
               height,        frame.linesize[0], frame.linesize[1], nullptr};
        // A new reference to the same buffers: the picture outlives the next decode without a copy.
        if (AVFrame* kept = av_frame_clone(&frame))
            out.owner = std::shared_ptr<const void>(kept, [](const void* f) {
                AVFrame* frame = static_cast<AVFrame*>(const_cast<void*>(f));
                av_frame_free(&frame);
            });
        return true;
    }
    if (!is422(frame.format) && !is444(frame.format))
        return false;

    const int chromaWidth = (width + 1) / 2;
    const int chromaHeight = (height + 1) / 2;
    const std::size_t lumaSize = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const std::size_t chromaSize = static_cast<std::size_t>(chromaWidth) * static_cast<std::size_t>(chromaHeight);
    converted_.resize(lumaSize + 2 * chromaSize);
    uint8_t* y = converted_.data();
    uint8_t* u = y + lumaSize;
    uint8_t* v = u + chromaSize;

    const auto convert = is422(frame.format) ? libyuv::I422ToI420 : libyuv::I444ToI420;
    if (convert(frame.data[0], frame.linesize[0], frame.data[1], frame.linesize[1], frame.data[2], frame.linesize[2], y,
                width, u, chromaWidth, v, chromaWidth, width, height) != 0)
        return false;
    out = {y, u, v, width, height, width, chromaWidth, nullptr};
    return true;
}

}  // namespace kvplay
