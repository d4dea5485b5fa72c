// Frames and bytes counted over windows of about a second, giving frames and bits per second.
#pragma once

#include <cstdint>

namespace kvplay {

class FrameStatistics {
public:
    // Counts one frame; true when a window closed and the rates were renewed.
    bool count(uint32_t bytes, int64_t nowMs) {
        if (windowStartMs_ == 0)
            windowStartMs_ = nowMs;
        ++frames_;
        bytes_ += bytes;
        const int64_t elapsed = nowMs - windowStartMs_;
        if (elapsed <= 1000)
            return false;
        framesPerSecond_ = frames_;
        bitsPerSecond_ = static_cast<int32_t>(bytes_ * 8 * 1000 / elapsed);
        windowStartMs_ = nowMs;
        frames_ = 0;
        bytes_ = 0;
        return true;
    }
    void clear() { *this = FrameStatistics{}; }

    int32_t framesPerSecond() const { return framesPerSecond_; }
    int32_t bitsPerSecond() const { return bitsPerSecond_; }

private:
    int64_t windowStartMs_ = 0;
    int32_t frames_ = 0;
    int64_t bytes_ = 0;
    int32_t framesPerSecond_ = 0;
    int32_t bitsPerSecond_ = 0;
};

}  // namespace kvplay
