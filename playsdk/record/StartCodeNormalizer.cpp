#include "StartCodeNormalizer.h"

#include <algorithm>
#include <cstring>

#include "NalUnits.h"
#include "RecordCodecs.h"

namespace kvplay::record {

namespace {

constexpr uint8_t kStartCode[] = {0, 0, 0, 1};

}  // namespace

bool needsStartCodeNormalization(const rfs::KVFrameHeader& header, std::span<const uint8_t> payload) {
    if (header.FrameTag != rfs::KVFrameTag || header.frameType == rfs::FrameAudio || !isAnnexBVideoCodec(header.codec))
        return false;
    return payload.size() < sizeof kStartCode || !std::equal(std::begin(kStartCode), std::end(kStartCode), payload.begin());
}

int64_t normalizeStartCodes(const rfs::KVFrameHeader& header, std::span<const uint8_t> payload,
                            std::span<uint8_t> out) {
    if (out.size() < rfs::kFrameHeaderSize)
        return -1;
    std::span<uint8_t> body = out.subspan(rfs::kFrameHeaderSize);
    std::size_t length = 0;
    auto append = [&](std::span<const uint8_t> bytes) {
        if (bytes.size() > body.size() - length)
            return false;
        std::memcpy(body.data() + length, bytes.data(), bytes.size());
        length += bytes.size();
        return true;
    };
    if (!hasStartCode(payload)) {
        if (!append(payload))
            return -1;
    } else {
        for (const auto unit : splitNalUnits(payload))
            if (!append(kStartCode) || !append(unit))
                return -1;
    }
    rfs::KVFrameHeader normalized = header;
    normalized.framesize = static_cast<uint32_t>(length);
    std::memcpy(out.data(), &normalized, rfs::kFrameHeaderSize);
    return static_cast<int64_t>(length);
}

}  // namespace kvplay::record
