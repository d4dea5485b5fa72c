// Decoder configuration records (ISO/IEC 14496-15) built from the parameter sets of a key frame.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kvplay::record {

// The avcC record from the last SPS and PPS of an Annex B key frame; nullopt without usable ones.
std::optional<std::vector<uint8_t>> avcDecoderConfig(std::span<const uint8_t> keyFrame);

// The hvcC record from the VPS, SPS, PPS and SEI units of an Annex B key frame; nullopt without
// a VPS, SPS and PPS or when the SPS cannot be read.
std::optional<std::vector<uint8_t>> hevcDecoderConfig(std::span<const uint8_t> keyFrame);

}  // namespace kvplay::record
