// The decoder that would draw by itself: no such path exists here, so it opens only when marked open
// and never decodes, and choosing it always ends in the software fallback.
#pragma once

#include "CBaseDecoder.h"

namespace kvplay {

class CFFmpegDecoderAndRender final : public CBaseDecoder {
public:
    CFFmpegDecoderAndRender() : CBaseDecoder(DecoderKind::FFmpeg) {}
    int32_t decode(const uint8_t*, DecodeOutput*) override { return DecodeError; }
    int32_t open(const uint8_t*) override { return opened_ ? 0 : DecodeError; }
    void close() override { opened_ = false; }
};

}  // namespace kvplay
