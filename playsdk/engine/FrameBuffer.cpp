#include "FrameBuffer.h"

#include <cstring>
#include <new>
#include <span>

#include "NalUnits.h"
#include "StartCodeNormalizer.h"

namespace kvplay {
namespace {

std::span<const uint8_t> payloadOf(const uint8_t* frame) {
    return {frame + rfs::kFrameHeaderSize, rfs::readFrameHeader(frame).framesize};
}

// Normalising widens each 3-byte start code by one byte, so the copy is sized for the result.
std::size_t normalizedPayloadLength(const rfs::KVFrameHeader& header, std::span<const uint8_t> payload) {
    if (!record::needsStartCodeNormalization(header, payload) || !record::hasStartCode(payload))
        return payload.size();
    std::size_t length = 0;
    for (const auto unit : record::splitNalUnits(payload))
        length += 4 + unit.size();
    return length;
}

}  // namespace

FrameCheck checkInputFrame(const void* frame, int32_t length) {
    if (length < static_cast<int32_t>(rfs::kFrameHeaderSize))
        return FrameCheck::Inconsistent;
    const rfs::KVFrameHeader header = rfs::readFrameHeader(frame);
    if (header.framesize > kMaxPayloadLength || uint64_t{header.framesize} + rfs::kFrameHeaderSize != uint64_t(length))
        return FrameCheck::Inconsistent;
    return FrameCheck::Valid;
}

std::size_t FrameBuffer::copySize(const uint8_t* frame) {
    return rfs::kFrameHeaderSize + normalizedPayloadLength(rfs::readFrameHeader(frame), payloadOf(frame)) + kFrameSlack;
}

std::unique_ptr<FrameBuffer> FrameBuffer::copyOf(const uint8_t* frame) {
    const rfs::KVFrameHeader header = rfs::readFrameHeader(frame);
    const std::span<const uint8_t> payload = payloadOf(frame);
    const std::size_t size = copySize(frame);
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size]);
    if (!bytes)
        return nullptr;
    std::size_t used;
    if (record::needsStartCodeNormalization(header, payload)) {
        const int64_t length = record::normalizeStartCodes(header, payload, {bytes.get(), size - kFrameSlack});
        if (length < 0)
            return nullptr;
        used = rfs::kFrameHeaderSize + static_cast<std::size_t>(length);
    } else {
        used = rfs::kFrameHeaderSize + payload.size();
        std::memcpy(bytes.get(), frame, used);
    }
    std::memset(bytes.get() + used, 0, size - used);
    return std::unique_ptr<FrameBuffer>(new (std::nothrow) FrameBuffer(std::move(bytes)));
}

}  // namespace kvplay
