// The engine's private copy of one input frame record: the 40-byte header, the payload with its start
// codes made 4 bytes long, and 64 zero bytes after it that decoders may read past the payload.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "rfs/FrameRecord.h"

namespace kvplay {

constexpr std::size_t kFrameSlack = 64;
// No frame of a recorder comes near this; a larger payload length means a damaged header.
constexpr uint32_t kMaxPayloadLength = 64u << 20;

enum class FrameCheck { Valid, Inconsistent };

// A frame whose length argument is not its payload length + 40, or whose payload length is implausible,
// is refused before any of its payload is read.
FrameCheck checkInputFrame(const void* frame, int32_t length);

class FrameBuffer {
public:
    // The copy, or null when memory runs out. The frame must have passed checkInputFrame.
    static std::unique_ptr<FrameBuffer> copyOf(const uint8_t* frame);

    const rfs::KVFrameHeader& header() const { return *reinterpret_cast<const rfs::KVFrameHeader*>(bytes_.get()); }
    rfs::KVFrameHeader& header() { return *reinterpret_cast<rfs::KVFrameHeader*>(bytes_.get()); }
    const uint8_t* data() const { return bytes_.get(); }
    const uint8_t* payload() const { return bytes_.get() + rfs::kFrameHeaderSize; }
    // Header and payload, what the cached byte count adds up.
    uint32_t recordLength() const { return header().framesize + static_cast<uint32_t>(rfs::kFrameHeaderSize); }

    uint8_t type() const { return header().frameType; }
    bool isKey() const { return type() == rfs::FrameI || type() == rfs::FrameVirtual; }
    // Set on a key frame put back by the drop policy: decode it, show nothing.
    bool decodeOnly() const { return header().flags & 1; }

    // The copy size, for the shortage line when it could not be made.
    static std::size_t copySize(const uint8_t* frame);

private:
    explicit FrameBuffer(std::unique_ptr<uint8_t[]> bytes) : bytes_(std::move(bytes)) {}
    std::unique_ptr<uint8_t[]> bytes_;
};

}  // namespace kvplay
