#include "RecordFrameInput.h"

#include <algorithm>
#include <limits>

#include "StartCodeNormalizer.h"

namespace kvplay::record {

int inputRecordFrame(CBaseRecordFile& writer, const uint8_t* frame, int length) {
    if (frame == nullptr || length < static_cast<int>(rfs::kFrameHeaderSize))
        return -1;
    const rfs::KVFrameHeader header = rfs::readFrameHeader(frame);
    const std::size_t available = static_cast<std::size_t>(length) - rfs::kFrameHeaderSize;
    const std::span<const uint8_t> payload(frame + rfs::kFrameHeaderSize, std::min<std::size_t>(header.framesize, available));
    if (!needsStartCodeNormalization(header, payload))
        return writer.WriteFrame(frame, length);
    // A payload cut short by the caller's length is not normalised into something that looks whole.
    if (header.framesize > available)
        return -1;
    // Each 3-byte start code grows by one byte, and needs at least one byte of unit behind it.
    const std::size_t largest = rfs::kFrameHeaderSize + payload.size() + payload.size() / 3 + 4;
    const std::span<uint8_t> work = writer.workBuffer(largest);
    const int64_t normalized = normalizeStartCodes(header, payload, work);
    if (normalized < 0 || normalized > std::numeric_limits<int>::max() - static_cast<int64_t>(rfs::kFrameHeaderSize))
        return -1;
    int normalizedLength = static_cast<int>(normalized) + static_cast<int>(rfs::kFrameHeaderSize);
    return writer.WriteFrame(work.data(), normalizedLength);
}

}  // namespace kvplay::record
