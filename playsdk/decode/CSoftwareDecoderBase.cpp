#include "CSoftwareDecoderBase.h"

#include "DecoderCapabilities.h"
#include "rfs/FrameRecord.h"

extern "C" {
#include <libavutil/error.h>
}

namespace kvplay {
namespace {

// The desktop program's policy: the decoders keep their plain configuration.
constexpr int32_t kPlainDecodePolicy = 1;

bool available(PictureCodec codec) {
    const DecoderCapabilities& capabilities = decoderCapabilities();
    switch (codec) {
        case PictureCodec::H264:
            return capabilities.h264;
        case PictureCodec::H265:
            return capabilities.h265;
        case PictureCodec::Mjpeg:
            return capabilities.mjpeg;
    }
    return false;
}

}  // namespace

CSoftwareDecoderBase::CSoftwareDecoderBase(DecoderKind kind, PictureCodec codec, int32_t decodePolicy)
    : CBaseDecoder(kind), codec_(codec), decodePolicy_(decodePolicy) {}

CSoftwareDecoderBase::~CSoftwareDecoderBase() {
    close();
}

int32_t CSoftwareDecoderBase::open(const uint8_t* frame) {
    if (opened_)
        return 0;
    if (frame == nullptr)
        return DecodeError;
    const rfs::KVFrameHeader header = rfs::readFrameHeader(frame);
    width_ = header.video.width;
    height_ = header.video.height;
    frameRate_ = header.video.frameRate;
    channel_ = header.channel & 0x7F;
    if (width_ == 0 || height_ == 0)
        return DecodeError;

    fastMode_ = decodePolicy_ != kPlainDecodePolicy && (width_ > 1919 || height_ >= 1080) && frameRate_ >= 20;
    // A decoder this process lacks counts as a shortage, like one that cannot be created, so the
    // engine reports it.
    const int created = available(codec_) ? decoder_.open(codec_, fastMode_) : AVERROR_DECODER_NOT_FOUND;
    if (created < 0) {
        logShortage(created);
        return DecodeCreateFailed;
    }
    opened_ = true;
    return 0;
}

int32_t CSoftwareDecoderBase::decode(const uint8_t* frame, DecodeOutput* out) {
    if (out == nullptr)
        return DecodeError;
    const int32_t opened = open(frame);
    if (opened != 0)
        return opened;
    const uint32_t payloadSize = rfs::readFrameHeader(frame).framesize;
    const int32_t result = decoder_.decode({frame + rfs::kFrameHeaderSize, payloadSize}, *out);
    if (result == DecodePicture && !firstPictureLogged_) {
        logFirstPicture(*out);
        firstPictureLogged_ = true;
    }
    return result;
}

void CSoftwareDecoderBase::close() {
    decoder_.close();
    opened_ = false;
    firstPictureLogged_ = false;
    fastMode_ = false;
}

}  // namespace kvplay
