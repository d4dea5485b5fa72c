#include "Adts.h"

namespace kvplay::record {

namespace {
constexpr uint8_t kNamedRates = 13;  // indices 13 and 14 are reserved, 15 is explicit
}

std::optional<AdtsHeader> readAdtsHeader(std::span<const uint8_t> data) {
    if (data.size() < 7 || data[0] != 0xFF || (data[1] & 0xF0) != 0xF0)
        return std::nullopt;
    AdtsHeader header;
    header.length = (data[1] & 0x01) ? 7 : 9;
    header.profile = static_cast<uint8_t>(data[2] >> 6);
    header.frequencyIndex = static_cast<uint8_t>((data[2] >> 2) & 0x0F);
    header.channelConfig = static_cast<uint8_t>((data[2] & 0x01) << 2 | data[3] >> 6);
    header.frameLength = static_cast<uint16_t>((data[3] & 0x03) << 11 | data[4] << 3 | data[5] >> 5);
    return header;
}

std::array<uint8_t, 7> makeAdtsHeader(const AdtsHeader& format, std::size_t payloadSize) {
    const std::size_t frameLength = payloadSize + 7;
    return {0xFF,
            0xF1,  // MPEG-4, no CRC
            static_cast<uint8_t>(format.profile << 6 | format.frequencyIndex << 2 | format.channelConfig >> 2),
            static_cast<uint8_t>((format.channelConfig & 3) << 6 | (frameLength >> 11 & 3)),
            static_cast<uint8_t>(frameLength >> 3),
            static_cast<uint8_t>((frameLength & 7) << 5 | 0x1F),  // buffer fullness 0x7FF
            0xFC};
}

std::optional<std::array<uint8_t, 2>> audioSpecificConfig(const AdtsHeader& header) {
    if (header.frequencyIndex >= kNamedRates || header.frameLength < 7)
        return std::nullopt;
    const unsigned objectType = header.profile + 1u;
    return std::array<uint8_t, 2>{
        static_cast<uint8_t>(objectType << 3 | header.frequencyIndex >> 1),
        static_cast<uint8_t>((header.frequencyIndex & 1) << 7 | header.channelConfig << 3)};
}

}  // namespace kvplay::record
