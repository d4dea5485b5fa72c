#include "CFFmpegDecoder.h"

#include "DecoderCapabilities.h"
#include "HardwareDecoderSlots.h"
#include "LogSink.h"
#include "rfs/FrameRecord.h"

namespace kvplay {
namespace {

// The codec of a frame the GPU may decode; false for anything else.
bool hardwareCodec(uint8_t codec, PictureCodec& out) {
    switch (codec) {
        case 1:
        case 2:
        case 9:
            out = PictureCodec::H264;
            return true;
        case 7:
        case 8:
        case 10:
            out = PictureCodec::H265;
            return true;
        default:
            return false;
    }
}

}  // namespace

CFFmpegDecoder::CFFmpegDecoder(bool hardwareRequested) : CBaseDecoder(DecoderKind::FFmpeg) {
    hardwareRequested_ = hardwareRequested;
    hardwareEnabled_ = hardwareRequested && !decoderCapabilities().oldGpuPresent;
}

CFFmpegDecoder::~CFFmpegDecoder() {
    close();
}

void CFFmpegDecoder::close() {
    backend_.reset();
    opened_ = false;
    // Whatever happened to the flags, a slot taken is a slot given back.
    if (holdsSlot_) {
        returnHardwareDecoderSlot();
        holdsSlot_ = false;
    }
}

void CFFmpegDecoder::giveUpHardware() {
    hardwareEnabled_ = false;
    hardwareRequested_ = false;
    close();
}

int32_t CFFmpegDecoder::open(const uint8_t* frame) {
    if (opened_)
        return 0;
    const rfs::KVFrameHeader h = rfs::readFrameHeader(frame);
    width_ = h.video.width;
    height_ = h.video.height;
    frameRate_ = h.video.frameRate;
    channel_ = h.channel & 0x7f;
    PictureCodec codec;
    if (!hardwareCodec(h.codec, codec) || !hardwareEnabled_)
        return DecodeError;
    if (!takeHardwareDecoderSlot()) {
        giveUpHardware();
        return DecodeError;
    }
    holdsSlot_ = true;
    backend_ = createHardwareBackend();
    if (!backend_ || !backend_->open(codec)) {
        giveUpHardware();
        return DecodeError;
    }
    opened_ = true;
    return 0;
}

int32_t CFFmpegDecoder::decode(const uint8_t* frame, DecodeOutput* out) {
    if (const int32_t opened = open(frame); opened != 0)
        return opened;
    if (!out)
        return DecodeError;
    const rfs::KVFrameHeader h = rfs::readFrameHeader(frame);
    const int32_t result = backend_->decode({frame + rfs::kFrameHeaderSize, h.framesize}, h.timestamp, *out);
    if (result == DecodeError) {
        giveUpHardware();
        return DecodeError;
    }
    if (result == DecodePicture && !firstPictureLogged_) {
        firstPictureLogged_ = true;
        logInstanceLine(this, channel_,
                        "===vane ffmpeg decoder channel:%d, flag:%d, num:%d, type:%d, w:%d, h:%d, y:%d, uv:%d, w:%d, "
                        "h:%d, format:%d",
                        channel_, hardwareEnabled_ ? 1 : 0, hardwareDecodersOpen(), h.codec, out->width, out->height,
                        out->lumaStride, out->chromaStride, out->width, out->height, backend_->deviceType());
    }
    return result;
}

}  // namespace kvplay
