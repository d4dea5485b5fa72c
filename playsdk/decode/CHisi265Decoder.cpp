#include "CHisi265Decoder.h"

#include "LogSink.h"

namespace kvplay {

CHisi265Decoder::CHisi265Decoder(int32_t decodePolicy)
    : CSoftwareDecoderBase(DecoderKind::H265, PictureCodec::H265, decodePolicy) {}

void CHisi265Decoder::logShortage(int result) const {
    logInstanceLine(this, channel_, "===vane [resources shortage] h265 ret:%x, w:%d, h:%d, ch:%d",
                    static_cast<unsigned>(result), width_, height_, channel_);
}

void CHisi265Decoder::logFirstPicture(const DecodeOutput& picture) const {
    logInstanceLine(this, channel_, "===vane h265 decoder channel:%d, flag:%d, w:%d, h:%d, y:%d, uv:%d", channel_, 0,
                    picture.width, picture.height, picture.lumaStride, picture.chromaStride);
}

}  // namespace kvplay
