// The common case from a few command-line values: every channel recording the same span.
#pragma once

#include <cstdint>
#include <string>

#include "rfssim/Scenario.h"

namespace rfssim {

struct QuickOptions {
    int channels = 4;
    std::string day = "2026-12-01";  // YYYY-MM-DD
    std::string from = "09:00";      // HH:MM or HH:MM:SS
    int minutes = 10;
    bool sub = false;    // record the second stream as well, at half the size and a quarter of the bitrate
    bool audio = false;  // with the main stream
    VideoSettings video;
    int virtualKeyFrameEvery = 0;
    uint32_t files = 0;  // 0: enough for the recordings and a few to spare
    bool sd = false;     // an SD card's store
};

// Throws SimError for a day or time it cannot read.
Scenario quickScenario(const QuickOptions& options);

}  // namespace rfssim
