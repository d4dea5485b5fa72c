// The engine's default H.265 decoder, and its fallback when hardware decoding fails.
#pragma once

#include <cstdint>

#include "CSoftwareDecoderBase.h"

namespace kvplay {

class CHisi265Decoder final : public CSoftwareDecoderBase {
public:
    explicit CHisi265Decoder(int32_t decodePolicy);

private:
    void logShortage(int result) const override;
    void logFirstPicture(const DecodeOutput& picture) const override;
};

}  // namespace kvplay
