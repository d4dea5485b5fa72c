#include "ExportProgress.h"

#include <algorithm>
#include <cstdio>

namespace tarn {

ExportProgress::ExportProgress(std::ostream& out, bool terminal, uint64_t spanStartUs, uint64_t spanEndUs)
    : out_(out), terminal_(terminal), spanStartUs_(spanStartUs), spanUs_(std::max<uint64_t>(spanEndUs - spanStartUs, 1)) {}

ExportProgress::~ExportProgress() {
    if (terminal_ && shown_ >= 0 && !finished_)
        out_ << "\n" << std::flush;
}

int ExportProgress::percentAt(uint64_t captureTimeUs) const {
    const uint64_t done = captureTimeUs > spanStartUs_ ? captureTimeUs - spanStartUs_ : 0;
    return static_cast<int>(std::min<uint64_t>(done * 100 / spanUs_, 100));
}

void ExportProgress::frameWritten(uint64_t captureTimeUs, uint64_t recordBytes) {
    ++frames_;
    bytes_ += recordBytes;
    reached_ = percentAt(captureTimeUs);
    const int step = terminal_ ? 1 : 10;
    if (shown_ < 0 || reached_ / step > shown_ / step)
        show(reached_);
}

void ExportProgress::show(int percent) {
    shown_ = percent;
    char line[128];
    std::snprintf(line, sizeof line, "exporting: %3d%%  %llu frames  %llu bytes", percent,
                  static_cast<unsigned long long>(frames_), static_cast<unsigned long long>(bytes_));
    out_ << (terminal_ ? "\r" : "") << line << (terminal_ ? "" : "\n") << std::flush;
}

void ExportProgress::finish() {
    if (frames_ == 0)
        return;
    show(reached_);
    finished_ = true;
    if (terminal_)
        out_ << "\n" << std::flush;
}

}  // namespace tarn
