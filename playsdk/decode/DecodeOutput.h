// What a decoder hands back for one picture: plane pointers into memory the decoder owns, valid until
// its next decode, and the size of the picture it actually decoded.
#pragma once

#include <cstdint>
#include <memory>

namespace kvplay {

enum DecodeResult : int32_t {
    DecodePicture = 0,        // a picture was written to the output
    DecodeError = -1,         // the frame could not be decoded, or the decoder is unusable for it
    DecodeCreateFailed = -2,  // the decoder could not be created (resources shortage)
    DecodeNeedMore = -3,      // the frame was consumed, no picture yet
};

struct DecodeOutput {
    const uint8_t* luma = nullptr;
    const uint8_t* chromaU = nullptr;  // or the interleaved chroma plane (NV12)
    const uint8_t* chromaV = nullptr;  // null when the chroma is interleaved
    int32_t width = 0;
    int32_t height = 0;
    int32_t lumaStride = 0;
    int32_t chromaStride = 0;
    // When set, the planes stay valid for as long as this is held, so a picture can keep them without
    // a copy; otherwise they are valid until the decoder's next decode.
    std::shared_ptr<const void> owner;
};

}  // namespace kvplay
