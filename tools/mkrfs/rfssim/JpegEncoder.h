// A still picture as a camera's snapshot: one JPEG from libavcodec's MJPEG encoder.
#pragma once

#include <cstdint>
#include <vector>

#include "rfssim/ScenePainter.h"

namespace rfssim {

std::vector<uint8_t> encodeJpeg(const Picture& picture);

}  // namespace rfssim
