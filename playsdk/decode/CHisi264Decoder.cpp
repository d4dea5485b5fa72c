#include "CHisi264Decoder.h"

#include "LogSink.h"

namespace kvplay {

CHisi264Decoder::CHisi264Decoder(int32_t decodePolicy)
    : CSoftwareDecoderBase(DecoderKind::H264, PictureCodec::H264, decodePolicy) {}

void CHisi264Decoder::logShortage(int) const {
    logInstanceLine(this, channel_, "===vane [resources shortage] h264, w:%d, h:%d, ch:%d", width_, height_, channel_);
}

void CHisi264Decoder::logFirstPicture(const DecodeOutput& picture) const {
    logInstanceLine(this, channel_, "===vane h264 decoder channel:%d, flag:%d, w:%d, h:%d, y:%d, uv:%d", channel_, 0,
                    picture.width, picture.height, picture.lumaStride, picture.chromaStride);
}

}  // namespace kvplay
