// Annex B byte streams: NAL units found by their 3- or 4-byte start codes, and length-prefixed form.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kvplay::record {

// The NAL units of an Annex B payload, without start codes or the zero bytes before them. Bytes
// before the first start code count as a unit of their own, so nothing of the payload is lost.
std::vector<std::span<const uint8_t>> splitNalUnits(std::span<const uint8_t> payload);

bool hasStartCode(std::span<const uint8_t> payload);

// Each unit as a 4-byte big-endian length followed by its bytes.
std::vector<uint8_t> toLengthPrefixed(std::span<const uint8_t> payload);

// The reverse: 00 00 00 01 before each unit; empty when a length runs past the end.
std::vector<uint8_t> toAnnexB(std::span<const uint8_t> lengthPrefixed);

}  // namespace kvplay::record
