#include "FFmpegPictureDecoder.h"

#include <climits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/error.h>
}

namespace kvplay {
namespace {

AVCodecID codecId(PictureCodec codec) {
    switch (codec) {
        case PictureCodec::H264:
            return AV_CODEC_ID_H264;
        case PictureCodec::H265:
            return AV_CODEC_ID_HEVC;
        case PictureCodec::Mjpeg:
            return AV_CODEC_ID_MJPEG;
    }
    return AV_CODEC_ID_NONE;
}

}  // namespace

void FFmpegPictureDecoder::AvDeleter::operator()(AVCodecContext* context) const {
    avcodec_free_context(&context);
}
void FFmpegPictureDecoder::AvDeleter::operator()(AVFrame* frame) const {
    av_frame_free(&frame);
}
void FFmpegPictureDecoder::AvDeleter::operator()(AVPacket* packet) const {
    av_packet_free(&packet);
}

FFmpegPictureDecoder::FFmpegPictureDecoder() = default;
FFmpegPictureDecoder::~FFmpegPictureDecoder() = default;

int FFmpegPictureDecoder::open(PictureCodec codec, bool sliceThreads) {
    close();
    const AVCodec* decoder = avcodec_find_decoder(codecId(codec));
    if (decoder == nullptr)
        return AVERROR_DECODER_NOT_FOUND;
    context_.reset(avcodec_alloc_context3(decoder));
    packet_.reset(av_packet_alloc());
    picture_.reset(av_frame_alloc());
    if (!context_ || !packet_ || !picture_) {
        close();
        return AVERROR(ENOMEM);
    }
    // Every picture out as soon as it is decoded; this also keeps FFmpeg from frame threading.
    context_->flags |= AV_CODEC_FLAG_LOW_DELAY;
    context_->thread_type = FF_THREAD_SLICE;
    context_->thread_count = sliceThreads ? 0 : 1;  // 0: as many slice threads as FFmpeg finds cores
    const int opened = avcodec_open2(context_.get(), decoder, nullptr);
    if (opened < 0)
        close();
    return opened;
}

void FFmpegPictureDecoder::close() {
    context_.reset();
    packet_.reset();
    picture_.reset();
}

int32_t FFmpegPictureDecoder::decode(std::span<const uint8_t> accessUnit, DecodeOutput& out) {
    if (!context_ || accessUnit.size() > INT_MAX)
        return DecodeError;
    // Not reference counted: FFmpeg copies the bytes, so the caller's buffer is never kept.
    packet_->data = const_cast<uint8_t*>(accessUnit.data());
    packet_->size = static_cast<int>(accessUnit.size());
    const int sent = avcodec_send_packet(context_.get(), packet_.get());
    packet_->data = nullptr;
    packet_->size = 0;
    if (sent < 0)
        return DecodeError;

    const int received = avcodec_receive_frame(context_.get(), picture_.get());
    if (received == AVERROR(EAGAIN))
        return DecodeNeedMore;
    if (received < 0)
        return DecodeError;
    return i420_.describe(*picture_, out) ? DecodePicture : DecodeError;
}

}  // namespace kvplay
