// FFmpeg software decoding set up for live pictures: one access unit in, its picture out at once.
// No frame threading, which holds pictures back; the fast configuration adds slice threads, which
// work inside one picture and so keep that promise.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "DecodeOutput.h"
#include "I420Picture.h"

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace kvplay {

enum class PictureCodec { H264, H265, Mjpeg };

class FFmpegPictureDecoder {
public:
    FFmpegPictureDecoder();
    ~FFmpegPictureDecoder();
    FFmpegPictureDecoder(const FFmpegPictureDecoder&) = delete;
    FFmpegPictureDecoder& operator=(const FFmpegPictureDecoder&) = delete;

    // 0, or the negative FFmpeg error that kept the decoder from being created.
    int open(PictureCodec codec, bool sliceThreads);
    void close();

    // DecodePicture with out filled (planes valid until the next decode or close), DecodeNeedMore when
    // the access unit was taken without a picture, DecodeError otherwise.
    int32_t decode(std::span<const uint8_t> accessUnit, DecodeOutput& out);

    struct AvDeleter {
        void operator()(AVCodecContext* context) const;
        void operator()(AVFrame* frame) const;
        void operator()(AVPacket* packet) const;
    };

private:
    std::unique_ptr<AVCodecContext, AvDeleter> context_;
    std::unique_ptr<AVPacket, AvDeleter> packet_;
    std::unique_ptr<AVFrame, AvDeleter> picture_;  // the picture handed out last
    I420Picture i420_;
};

}  // namespace kvplay
