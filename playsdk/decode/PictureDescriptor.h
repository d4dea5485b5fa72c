// A decoded picture ready for rendering: the frame header it came from and packed I420 pixels that it
// owns (luma width × height, then two chroma planes of half width and half height, rounded up).
#pragma once

#include <cstdint>
#include <memory>

#include "DecodeOutput.h"
#include "KVPlay.h"
#include "rfs/FrameRecord.h"

namespace kvplay {

struct PictureDescriptor : KVPlayPictureDescriptor {
    std::unique_ptr<uint8_t[]> pixels;
    std::shared_ptr<const void> decoderPlanes;  // instead of pixels: the decoder's own planes, kept

    rfs::KVFrameHeader frameHeader() const { return rfs::readFrameHeader(header); }
    bool isKey() const { return header[4] == rfs::FrameI || header[4] == rfs::FrameVirtual; }
};

// An I420 picture of the size with the header copied in; null when memory runs out.
std::unique_ptr<PictureDescriptor> allocatePicture(const rfs::KVFrameHeader& header, int32_t width, int32_t height);
std::size_t pictureBytes(int32_t width, int32_t height);
// The decoder's output as a picture: its planes kept when the decoder lets them be kept, else copied
// into packed I420 (interleaved chroma split).
std::unique_ptr<PictureDescriptor> pictureFromOutput(const rfs::KVFrameHeader& header, const DecodeOutput& output);
// The 32 × 32 black picture of the blank play mode.
std::unique_ptr<PictureDescriptor> blankPicture();

}  // namespace kvplay
