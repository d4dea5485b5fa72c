// The synthetic camera picture: a per-channel background, the channel and the capture time burnt in
// large enough to read on a screenshot, and a bar that moves every frame so P frames carry motion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rfssim/Scenario.h"

namespace rfssim {

// Planar 4:2:0, rows without padding.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> y, u, v;
};

// "CH 1" for store channel 0's main stream, "CH 1 SUB" for its second stream.
std::string channelCaption(int userChannel, StreamKind stream);

// "YYYY-MM-DD HH:MM:SS.mmm": the milliseconds tell the frames of one second apart.
std::string captureTimeCaption(int64_t captureTimeUs);

class ScenePainter {
public:
    // grain: amplitude of luma noise drawn afresh for every picture (0: none).
    ScenePainter(int width, int height, int userChannel, std::string caption, int grain = 0);

    // frameNumber counts frames since 1970 at the stream's rate, so the bar continues across chunks.
    const Picture& paint(int64_t captureTimeUs, int64_t frameNumber);

private:
    struct Colour {
        uint8_t y, u, v;
    };

    void fillRect(int x0, int y0, int x1, int y1, Colour colour);
    void drawText(const std::string& text, int x, int y, Colour colour);
    void addGrain(int64_t frameNumber);

    Picture picture_;
    Colour background_;
    std::string caption_;
    int scale_;
    int grain_;
};

}  // namespace rfssim
