// Codec numbers of frame records, as the MP4 files treat them.
#pragma once

#include <cstdint>

namespace kvplay::record {

constexpr uint8_t kCodecAac = 10;       // audio, AAC with ADTS headers

// Video payloads in Annex B form: H.264 (1, 2, 9) and H.265 (7, 8, 10).
constexpr bool isAnnexBVideoCodec(uint8_t codec) {
    return codec == 1 || codec == 2 || codec == 7 || codec == 8 || codec == 9 || codec == 10;
}

// 10 is H.265 for the decoders too, so its files are labelled "hvc1".
constexpr bool isH265VideoCodec(uint8_t codec) { return codec == 7 || codec == 8 || codec == 10; }

// G.726 at 16, 24, 32 and 40 kbit/s: 4/36, 5/37, 6/38, 7/39.
constexpr bool isG726Codec(uint8_t codec) { return (codec >= 4 && codec <= 7) || (codec >= 36 && codec <= 39); }

}  // namespace kvplay::record
