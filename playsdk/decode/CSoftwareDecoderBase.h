// What the three software decoder classes share: the lazy open from the first frame's header, the
// choice of the fast configuration, one access unit per decode into an I420 output, and close.
// The classes differ only in their codec and in the lines they write.
#pragma once

#include <cstdint>

#include "CBaseDecoder.h"
#include "FFmpegPictureDecoder.h"

namespace kvplay {

class CSoftwareDecoderBase : public CBaseDecoder {
public:
    ~CSoftwareDecoderBase() override;

    int32_t decode(const uint8_t* frame, DecodeOutput* out) final;
    int32_t open(const uint8_t* frame) final;
    void close() final;

    // Whether open chose the fast configuration: a policy other than the plain one, a picture of
    // 1920 wide or 1080 high and up, and at least 20 frames per second.
    bool fastMode() const { return fastMode_; }

protected:
    CSoftwareDecoderBase(DecoderKind kind, PictureCodec codec, int32_t decodePolicy);

private:
    // result: the FFmpeg error that kept the decoder from being created.
    virtual void logShortage(int result) const = 0;
    virtual void logFirstPicture(const DecodeOutput& picture) const = 0;

    const PictureCodec codec_;
    const int32_t decodePolicy_;
    bool fastMode_ = false;
    FFmpegPictureDecoder decoder_;
};

}  // namespace kvplay
