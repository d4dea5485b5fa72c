// A still JPEG of a channel's scene in a frame record: the snapshots of picture files and the
// thumbnails of an SD card's events.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "rfs/FrameRecord.h"
#include "rfssim/Scenario.h"

namespace rfssim {

constexpr int kStillWidth = 64;
constexpr int kStillHeight = 48;

// The scene the channel's camera shows at the capture time.
std::vector<uint8_t> stillPictureJpeg(int userChannel, StreamKind stream, int64_t captureTimeUs);

rfs::KVFrameHeader stillPictureHeader(rfs::FrameType type, int storeChannel, uint32_t frameNo, int64_t captureTimeUs,
                                      std::size_t payload);

}  // namespace rfssim
