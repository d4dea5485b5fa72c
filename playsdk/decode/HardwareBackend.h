// Decoding on a GPU: a device of the first type that opens, pictures copied back to system memory.
// The hardware decoder class keeps the rules (slots, fallback); this is only the device work, and
// tests put a software stand-in in its place.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "DecodeOutput.h"
#include "FFmpegPictureDecoder.h"

namespace kvplay {

class HardwareBackend {
public:
    virtual ~HardwareBackend() = default;
    // False when no device can be opened for the codec.
    virtual bool open(PictureCodec codec) = 0;
    // The DecodeResult codes; the output planes stay valid until the next decode.
    virtual int32_t decode(std::span<const uint8_t> accessUnit, uint64_t timestamp, DecodeOutput& out) = 0;
    // The device type that opened, for the diagnostic line.
    virtual int32_t deviceType() const = 0;
};

using HardwareBackendFactory = std::function<std::unique_ptr<HardwareBackend>()>;

std::unique_ptr<HardwareBackend> createHardwareBackend();
// Null restores FFmpeg's hardware devices.
void setHardwareBackendFactory(HardwareBackendFactory factory);
// True when a device of one of the types this library uses can be created here.
bool probeHardwareDevice();

}  // namespace kvplay
