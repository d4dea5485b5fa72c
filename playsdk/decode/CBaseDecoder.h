// A video decoder: one frame record (40-byte header, payload, at least 64 zero bytes of slack after it)
// in, at most one picture out. Opened lazily from the first frame; results are the DecodeResult codes.
#pragma once

#include <cstdint>

#include "DecodeOutput.h"

namespace kvplay {

enum class DecoderKind : int32_t { FFmpeg = 1, H264 = 2, H265 = 3, Mjpeg = 4 };

class CBaseDecoder {
public:
    explicit CBaseDecoder(DecoderKind kind) : kind_(kind) {}
    virtual ~CBaseDecoder() = default;
    CBaseDecoder(const CBaseDecoder&) = delete;
    CBaseDecoder& operator=(const CBaseDecoder&) = delete;

    virtual int32_t decode(const uint8_t* frame, DecodeOutput* out) = 0;
    // Decoding for a path that shows nothing (local recording); the same as decode unless a decoder can
    // skip work for it.
    virtual int32_t decodeWithoutOutput(const uint8_t* frame, DecodeOutput* out) { return decode(frame, out); }
    virtual int32_t open(const uint8_t* frame) = 0;
    virtual void close() = 0;

    DecoderKind kind() const { return kind_; }
    bool isOpen() const { return opened_; }

protected:
    DecoderKind kind_;
    bool hardwareRequested_ = false;
    bool opened_ = false;
    bool hardwareEnabled_ = false;
    bool firstPictureLogged_ = false;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t frameRate_ = 0;
    int32_t channel_ = 0;
};

}  // namespace kvplay
