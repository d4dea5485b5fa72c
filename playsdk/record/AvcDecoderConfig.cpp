#include "ByteBuffer.h"
#include "DecoderConfig.h"
#include "NalUnits.h"

namespace kvplay::record {

std::optional<std::vector<uint8_t>> avcDecoderConfig(std::span<const uint8_t> keyFrame) {
    std::span<const uint8_t> sps, pps;
    for (const auto unit : splitNalUnits(keyFrame)) {
        const int type = unit[0] & 0x1F;
        if (type == 7)
            sps = unit;
        else if (type == 8)
            pps = unit;
    }
    if (sps.size() < 4 || sps.size() > 0xFFFF || pps.empty() || pps.size() > 0xFFFF)
        return std::nullopt;
    ByteBuffer out;
    out.u8(1);
    out.append(sps.subspan(1, 3));  // profile, compatibility, level
    out.u8(0xFF);                   // 4-byte NAL lengths
    out.u8(0xE1);                   // one SPS
    out.u16(static_cast<uint16_t>(sps.size()));
    out.append(sps);
    out.u8(1);
    out.u16(static_cast<uint16_t>(pps.size()));
    out.append(pps);
    return std::move(out.bytes());
}

}  // namespace kvplay::record
