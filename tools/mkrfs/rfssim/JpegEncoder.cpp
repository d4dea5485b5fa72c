#include "rfssim/JpegEncoder.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/error.h>
}

#include "rfssim/SimError.h"

namespace rfssim {
namespace {

struct AvDeleter {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

void check(int code, const char* what) {
    if (code < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(code, text, sizeof text);
        throw SimError(std::string(what) + ": " + text);
    }
}

void copyPlane(uint8_t* target, int linesize, const std::vector<uint8_t>& source, int width, int height) {
    for (int row = 0; row < height; ++row)
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(row) * width, width, target + row * linesize);
}

}  // namespace

std::vector<uint8_t> encodeJpeg(const Picture& picture) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec)
        throw SimError("this FFmpeg has no MJPEG encoder");
    std::unique_ptr<AVCodecContext, AvDeleter> context(avcodec_alloc_context3(codec));
    std::unique_ptr<AVFrame, AvDeleter> frame(av_frame_alloc());
    std::unique_ptr<AVPacket, AvDeleter> packet(av_packet_alloc());
    if (!context || !frame || !packet)
        throw std::bad_alloc();

    context->width = picture.width;
    context->height = picture.height;
    // Full-range 4:2:0, as JPEG files carry it.
    context->pix_fmt = AV_PIX_FMT_YUVJ420P;
    context->time_base = AVRational{1, 25};
    context->thread_count = 1;
    check(avcodec_open2(context.get(), codec, nullptr), "cannot open the MJPEG encoder");

    frame->format = context->pix_fmt;
    frame->width = picture.width;
    frame->height = picture.height;
    check(av_frame_get_buffer(frame.get(), 0), "cannot allocate a picture");
    copyPlane(frame->data[0], frame->linesize[0], picture.y, picture.width, picture.height);
    copyPlane(frame->data[1], frame->linesize[1], picture.u, picture.width / 2, picture.height / 2);
    copyPlane(frame->data[2], frame->linesize[2], picture.v, picture.width / 2, picture.height / 2);
    frame->pts = 0;
    check(avcodec_send_frame(context.get(), frame.get()), "the MJPEG encoder refused the picture");
    check(avcodec_send_frame(context.get(), nullptr), "cannot drain the MJPEG encoder");
    check(avcodec_receive_packet(context.get(), packet.get()), "the MJPEG encoder gave no picture");
    return std::vector<uint8_t>(packet->data, packet->data + packet->size);
}

}  // namespace rfssim
