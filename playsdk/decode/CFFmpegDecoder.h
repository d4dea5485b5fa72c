// The hardware decoder for large H.264 and H.265 pictures. It opens only on a GPU (hardware allowed
// for the instance, no GPU known to fail, a free slot, a device that opens); any failure turns its
// hardware path off for good and makes the decoder holder fall back to the software decoder.
#pragma once

#include <memory>

#include "CBaseDecoder.h"
#include "HardwareBackend.h"

namespace kvplay {

class CFFmpegDecoder final : public CBaseDecoder {
public:
    explicit CFFmpegDecoder(bool hardwareRequested);
    ~CFFmpegDecoder() override;

    int32_t decode(const uint8_t* frame, DecodeOutput* out) override;
    int32_t open(const uint8_t* frame) override;
    void close() override;

    bool hardwareEnabled() const { return hardwareEnabled_; }

private:
    void giveUpHardware();

    std::unique_ptr<HardwareBackend> backend_;
    bool holdsSlot_ = false;
};

}  // namespace kvplay
