// How far an export has come, on standard error: the percent of the span that the frames written so far
// reach, the frames and the bytes. On a terminal one line is redrawn; otherwise a line per tenth.
#pragma once

#include <cstdint>
#include <ostream>

namespace tarn {

class ExportProgress {
public:
    ExportProgress(std::ostream& out, bool terminal, uint64_t spanStartUs, uint64_t spanEndUs);
    // Ends a line left open on the terminal, so that a message that follows starts on its own line.
    ~ExportProgress();

    void frameWritten(uint64_t captureTimeUs, uint64_t recordBytes);
    // The last figures; they stay on screen.
    void finish();

    uint64_t frames() const { return frames_; }
    uint64_t bytes() const { return bytes_; }

private:
    int percentAt(uint64_t captureTimeUs) const;
    void show(int percent);

    std::ostream& out_;
    bool terminal_;
    uint64_t spanStartUs_;
    uint64_t spanUs_;
    uint64_t frames_ = 0;
    uint64_t bytes_ = 0;
    int reached_ = 0;
    int shown_ = -1;
    bool finished_ = false;
};

}  // namespace tarn
