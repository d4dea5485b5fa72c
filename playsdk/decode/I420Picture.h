// A decoded picture handed out as I420 planes: 4:2:0 pictures as FFmpeg gives them, other layouts
// converted into a buffer owned here, so the renderer and the picture copy see one layout only.
#pragma once

#include <cstdint>
#include <vector>

#include "DecodeOutput.h"

struct AVFrame;

namespace kvplay {

class I420Picture {
public:
    // Fills out with planes that stay valid while frame holds its picture and until the next call;
    // false for a layout without a conversion.
    bool describe(const AVFrame& frame, DecodeOutput& out);

private:
    std::vector<uint8_t> converted_;
};

}  // namespace kvplay
