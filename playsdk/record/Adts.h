// ADTS headers in front of AAC frames: read, and rebuilt when a stored frame is given back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace kvplay::record {

struct AdtsHeader {
    std::size_t length = 7;  // 9 with a CRC
    uint8_t profile = 0;     // audio object type - 1
    uint8_t frequencyIndex = 0;
    uint8_t channelConfig = 0;
    uint16_t frameLength = 0;  // header included
};

// The header at the start of data, or nullopt when data does not start with one; only its first
// 7 bytes are read, so callers check length (9 with a CRC) against what they hold.
std::optional<AdtsHeader> readAdtsHeader(std::span<const uint8_t> data);

// A 7-byte header without CRC for a frame of payloadSize bytes.
std::array<uint8_t, 7> makeAdtsHeader(const AdtsHeader& format, std::size_t payloadSize);

// The two-byte AudioSpecificConfig of the stream the header describes; nullopt when the sampling
// frequency index names no rate.
std::optional<std::array<uint8_t, 2>> audioSpecificConfig(const AdtsHeader& header);

}  // namespace kvplay::record
