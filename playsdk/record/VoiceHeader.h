// The 4-byte header some recorders put before a voice block: 00 01, then the block's length
// without the header in 16-bit words (little-endian).
#pragma once

#include <cstdint>
#include <span>

#include "ByteBuffer.h"

namespace kvplay::record {

constexpr std::size_t kVoiceHeaderSize = 4;

// True when data starts with a voice header for a block of blockSize bytes (header included).
inline bool hasVoiceHeader(std::span<const uint8_t> data, std::size_t blockSize) {
    return data.size() >= kVoiceHeaderSize && blockSize >= kVoiceHeaderSize && data[0] == 0x00 && data[1] == 0x01 &&
           readLe16(&data[2]) == (blockSize - kVoiceHeaderSize) / 2;
}

}  // namespace kvplay::record
