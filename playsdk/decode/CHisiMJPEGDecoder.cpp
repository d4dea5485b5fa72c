#include "CHisiMJPEGDecoder.h"

#include "LogSink.h"

namespace kvplay {

CHisiMJPEGDecoder::CHisiMJPEGDecoder(int32_t decodePolicy)
    : CSoftwareDecoderBase(DecoderKind::Mjpeg, PictureCodec::Mjpeg, decodePolicy) {}

void CHisiMJPEGDecoder::logShortage(int) const {
    logLine("===vane [resources shortage] mjpeg, w:%d, h:%d, ch:%d", width_, height_, channel_);
}

void CHisiMJPEGDecoder::logFirstPicture(const DecodeOutput& picture) const {
    logLine("===vane mjpeg decoder channel:%d, flag:%d, w:%d, h:%d, y:%d, uv:%d", channel_, 0, picture.width,
            picture.height, picture.lumaStride, picture.chromaStride);
}

}  // namespace kvplay
