// The engine's MJPEG decoder; camera JPEGs are often 4:2:2 and come out converted to I420.
#pragma once

#include <cstdint>

#include "CSoftwareDecoderBase.h"

namespace kvplay {

class CHisiMJPEGDecoder final : public CSoftwareDecoderBase {
public:
    explicit CHisiMJPEGDecoder(int32_t decodePolicy);

private:
    void logShortage(int result) const override;
    void logFirstPicture(const DecodeOutput& picture) const override;
};

}  // namespace kvplay
