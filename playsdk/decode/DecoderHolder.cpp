#include "DecoderHolder.h"

#include <cstring>
#include <new>

#include "CFFmpegDecoder.h"
#include "CFFmpegDecoderAndRender.h"
#include "CHisi264Decoder.h"
#include "CHisi265Decoder.h"
#include "CHisiMJPEGDecoder.h"
#include "DecoderCapabilities.h"
#include "PictureDescriptor.h"
#include "rfs/FrameRecord.h"

namespace kvplay {
namespace {

constexpr int32_t kCodecH264 = 1;
constexpr int32_t kCodecH265 = 7;
constexpr int32_t kCodecMjpeg = 4;

bool isAnnexBCodec(uint8_t codec) {
    return codec == 1 || codec == 2 || codec == 7 || codec == 8 || codec == 9 || codec == 10;
}

bool startsWithStartCode(const uint8_t* frame) {
    static constexpr uint8_t kStartCode[] = {0, 0, 0, 1};
    return rfs::readFrameHeader(frame).framesize >= 4 &&
           std::memcmp(frame + rfs::kFrameHeaderSize, kStartCode, sizeof kStartCode) == 0;
}

bool isSuccess(int32_t result) {
    return result == DecodePicture || result == DecodeNeedMore;
}

// Large pictures go to the hardware decoder when this process has one.
bool wantsHardware(int32_t codec, bool display, int32_t width, int32_t height) {
    return display && decoderCapabilities().hardware && (width >= 1920 || height >= 1080) &&
           (codec == kCodecH264 || codec == kCodecH265);
}

}  // namespace

int32_t normalizedVideoCodec(uint8_t codec) {
    switch (codec) {
        case 1:
        case 2:
        case 9:
            return kCodecH264;
        case 7:
        case 8:
        case 10:
            return kCodecH265;
        case 4:
        case 5:
            return kCodecMjpeg;
        default:
            return 0;
    }
}

int32_t DecoderHolder::decode(const uint8_t* frame, bool display,
                              const std::function<void(const DecodeOutput&)>& usePicture) {
    std::lock_guard guard(lock_);
    DecodeOutput out;
    const int32_t result = decodeLocked(frame, display, out);
    if (result == DecodePicture && usePicture)
        usePicture(out);
    return result;
}

void DecoderHolder::setSwitches(bool hardwareAllowed, bool decodeAndRender) {
    std::lock_guard guard(lock_);
    hardwareAllowed_ = hardwareAllowed;
    decodeAndRender_ = decodeAndRender;
}

void DecoderHolder::setExternalDecoder(KVPlayDecodeCallback callback, void* user) {
    std::lock_guard guard(lock_);
    external_ = callback;
    externalUser_ = user;
}

int32_t DecoderHolder::currentKind() {
    std::lock_guard guard(lock_);
    return decoder_ ? static_cast<int32_t>(decoder_->kind()) : 0;
}

void DecoderHolder::release() {
    decoder_.reset();
    waitingForKeyFrame_ = true;
    codec_ = width_ = height_ = 0;
}

int32_t DecoderHolder::decodeExternally(const uint8_t* frame, DecodeOutput& out) {
    const rfs::KVFrameHeader h = rfs::readFrameHeader(frame);
    const std::size_t need = pictureBytes(h.video.width, h.video.height);
    if (h.video.width == 0 || h.video.height == 0)
        return DecodeError;
    if (externalBufferSize_ < need) {
        externalBuffer_.reset(new (std::nothrow) uint8_t[need]);
        externalBufferSize_ = externalBuffer_ ? need : 0;
        if (!externalBuffer_)
            return DecodeCreateFailed;
    }
    std::unique_ptr<PictureDescriptor> view = allocatePicture(h, 1, 1);
    if (!view)
        return DecodeCreateFailed;
    view->width = h.video.width;
    view->height = h.video.height;
    view->lumaStride = h.video.width;
    view->chromaStride = (h.video.width + 1) / 2;
    view->luma = externalBuffer_.get();
    view->chromaU = view->luma + std::size_t(view->width) * view->height;
    view->chromaV = view->chromaU + std::size_t(view->chromaStride) * ((view->height + 1) / 2);
    if (external_(frame, view.get(), externalUser_) != 0)
        return DecodeError;
    out = DecodeOutput{view->luma,   view->chromaU,    view->chromaV,      view->width,
                       view->height, view->lumaStride, view->chromaStride, nullptr};
    return DecodePicture;
}

std::unique_ptr<CBaseDecoder> DecoderHolder::createSoftwareDecoder(int32_t codec) {
    switch (codec) {
        case kCodecH264:
            return std::unique_ptr<CBaseDecoder>(new (std::nothrow) CHisi264Decoder(decodePolicy_));
        case kCodecH265:
            return std::unique_ptr<CBaseDecoder>(new (std::nothrow) CHisi265Decoder(decodePolicy_));
        case kCodecMjpeg:
            return std::unique_ptr<CBaseDecoder>(new (std::nothrow) CHisiMJPEGDecoder(decodePolicy_));
        default:
            return nullptr;
    }
}

std::unique_ptr<CBaseDecoder> DecoderHolder::createDecoder(int32_t codec, bool display, int32_t width, int32_t height) {
    if (wantsHardware(codec, display, width, height))
        return std::unique_ptr<CBaseDecoder>(new (std::nothrow) CFFmpegDecoder(hardwareAllowed_));
    return createSoftwareDecoder(codec);
}

int32_t DecoderHolder::decodeWith(const uint8_t* frame, bool display, DecodeOutput& out) {
    return display ? decoder_->decode(frame, &out) : decoder_->decodeWithoutOutput(frame, &out);
}

int32_t DecoderHolder::decodeLocked(const uint8_t* frame, bool display, DecodeOutput& out) {
    if (external_)
        return decodeExternally(frame, out);
    const rfs::KVFrameHeader h = rfs::readFrameHeader(frame);
    if (h.FrameTag != rfs::KVFrameTag || (isAnnexBCodec(h.codec) && !startsWithStartCode(frame)))
        return DecodeError;
    if (h.frameType == rfs::FrameP) {
        if (haveSequence_ && h.frameNo != lastSequence_ + 1)
            waitingForKeyFrame_ = true;
        if (waitingForKeyFrame_)
            return DecodeError;
    }

    const int32_t codec = normalizedVideoCodec(h.codec);
    bool changed = codec != codec_ || h.video.width != width_ || h.video.height != height_;
    auto succeeded = [&](int32_t result) {
        lastSequence_ = h.frameNo;
        haveSequence_ = true;
        waitingForKeyFrame_ = false;
        return result;
    };

    if (decodeAndRender_ && display && decoderCapabilities().hardware) {
        if (changed) {
            decoder_.reset(new (std::nothrow) CFFmpegDecoderAndRender);
            codec_ = codec;
            width_ = h.video.width;
            height_ = h.video.height;
        }
        const int32_t result = decoder_ ? decoder_->decode(frame, &out) : DecodeCreateFailed;
        if (isSuccess(result))
            return succeeded(result);
        waitingForKeyFrame_ = true;
        decoder_.reset();
        decodeAndRender_ = false;
        hardwareAllowed_ = false;
        changed = true;
    }

    if (changed) {
        decoder_.reset();
        if (codec == 0) {
            release();
            return DecodeError;
        }
        decoder_ = createDecoder(codec, display, h.video.width, h.video.height);
        codec_ = codec;
        width_ = h.video.width;
        height_ = h.video.height;
    }
    if (!decoder_) {
        release();
        return DecodeCreateFailed;
    }

    int32_t result = decodeWith(frame, display, out);
    if (isSuccess(result))
        return succeeded(result);
    if (decoder_->kind() == DecoderKind::FFmpeg) {
        decoder_ = createSoftwareDecoder(codec);
        if (!decoder_) {
            release();
            return DecodeCreateFailed;
        }
        result = DecodeError;
        if (h.frameType == rfs::FrameI) {
            result = decodeWith(frame, display, out);
            if (isSuccess(result))
                return succeeded(result);
        }
    }
    waitingForKeyFrame_ = true;
    return result;
}

}  // namespace kvplay
