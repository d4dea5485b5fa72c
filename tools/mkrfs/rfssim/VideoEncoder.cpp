#include "rfssim/VideoEncoder.h"

#include <algorithm>
#include <new>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include "rfssim/SimError.h"

namespace rfssim {
namespace {

std::string avError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

void check(int code, const char* what) {
    if (code < 0)
        throw SimError(std::string(what) + ": " + avError(code));
}

// Key frames come only from the caller (every GOP start); scene cuts must not add any.
std::string encoderParams(const VideoSettings& s) {
    const std::string gop = std::to_string(s.gop);
    if (s.codec == VideoCodecKind::H265)
        return "keyint=" + gop + ":min-keyint=" + gop +
               ":scenecut=0:bframes=0:open-gop=0:repeat-headers=1:log-level=error:pools=none:frame-threads=1";
    return "keyint=" + gop + ":min-keyint=" + gop + ":scenecut=0:bframes=0:repeat-headers=1";
}

void copyPlane(uint8_t* target, int linesize, const std::vector<uint8_t>& source, int width, int height) {
    for (int row = 0; row < height; ++row)
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(row) * width, width, target + row * linesize);
}

}  // namespace

void quietCodecLogging() {
    av_log_set_level(AV_LOG_ERROR);
}

void VideoEncoder::AvDeleter::operator()(AVCodecContext* context) const {
    avcodec_free_context(&context);
}
void VideoEncoder::AvDeleter::operator()(AVFrame* frame) const {
    av_frame_free(&frame);
}
void VideoEncoder::AvDeleter::operator()(AVPacket* packet) const {
    av_packet_free(&packet);
}

VideoEncoder::VideoEncoder(const VideoSettings& s) {
    const char* name = s.codec == VideoCodecKind::H265 ? "libx265" : "libx264";
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec)
        throw SimError(std::string("this FFmpeg has no ") + name + " encoder");
    context_.reset(avcodec_alloc_context3(codec));
    frame_.reset(av_frame_alloc());
    packet_.reset(av_packet_alloc());
    if (!context_ || !frame_ || !packet_)
        throw std::bad_alloc();

    context_->width = s.width;
    context_->height = s.height;
    context_->pix_fmt = AV_PIX_FMT_YUV420P;
    context_->time_base = AVRational{1, s.fps};
    context_->framerate = AVRational{s.fps, 1};
    context_->gop_size = s.gop;
    context_->keyint_min = s.gop;
    context_->max_b_frames = 0;
    context_->bit_rate = s.bitrate;
    context_->thread_count = 1;
    av_opt_set(context_->priv_data, "preset", "ultrafast", 0);
    av_opt_set(context_->priv_data, "tune", "zerolatency", 0);
    av_opt_set_int(context_->priv_data, "forced-idr", 1, 0);
    const std::string params = encoderParams(s);
    av_opt_set(context_->priv_data, s.codec == VideoCodecKind::H265 ? "x265-params" : "x264-params", params.c_str(), 0);
    check(avcodec_open2(context_.get(), codec, nullptr), "cannot open the video encoder");

    frame_->format = AV_PIX_FMT_YUV420P;
    frame_->width = s.width;
    frame_->height = s.height;
    check(av_frame_get_buffer(frame_.get(), 0), "cannot allocate a video frame");
}

std::vector<EncodedPacket> VideoEncoder::encode(const Picture& picture, int64_t pts, bool keyFrame) {
    check(av_frame_make_writable(frame_.get()), "cannot reuse the video frame");
    copyPlane(frame_->data[0], frame_->linesize[0], picture.y, picture.width, picture.height);
    copyPlane(frame_->data[1], frame_->linesize[1], picture.u, picture.width / 2, picture.height / 2);
    copyPlane(frame_->data[2], frame_->linesize[2], picture.v, picture.width / 2, picture.height / 2);
    frame_->pts = pts;
    frame_->pict_type = keyFrame ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    check(avcodec_send_frame(context_.get(), frame_.get()), "the video encoder refused a picture");
    return receivePackets();
}

std::vector<EncodedPacket> VideoEncoder::flush() {
    check(avcodec_send_frame(context_.get(), nullptr), "cannot drain the video encoder");
    return receivePackets();
}

std::vector<EncodedPacket> VideoEncoder::receivePackets() {
    std::vector<EncodedPacket> packets;
    for (;;) {
        const int result = avcodec_receive_packet(context_.get(), packet_.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return packets;
        check(result, "the video encoder failed");
        packets.push_back(EncodedPacket{packet_->pts, (packet_->flags & AV_PKT_FLAG_KEY) != 0,
                                        std::vector<uint8_t>(packet_->data, packet_->data + packet_->size)});
        av_packet_unref(packet_.get());
    }
}

}  // namespace rfssim
