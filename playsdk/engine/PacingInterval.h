// The time between two pictures on screen, from their pacing timestamps and the play mode.
#pragma once

#include <cstdint>

namespace kvplay {

struct PacingInput {
    uint64_t timestamp = 0;      // of the picture to show, microseconds
    uint64_t lastTimestamp = 0;  // of the picture shown before it
    bool key = false;
    bool lastKey = false;
    bool reverse = false;
    int32_t mode = 1;
    // Live streams: the cushion in milliseconds and how much input is buffered beyond the last picture.
    bool live = false;
    int32_t cushionMs = 0;
    bool haveBuffered = false;
    int64_t bufferedMs = 0;
};

// Microseconds to wait after the last picture. A jump (backwards, or beyond the limit) costs one 40 ms
// interval; speeds scale it, and live streams play faster while too much input is buffered.
int64_t pacingInterval(const PacingInput& in);

}  // namespace kvplay
