#include "FrameSourceLog.h"

#include <cstdarg>
#include <cstdio>

namespace tarn {

namespace {
FrameSourceSink& sink() {
    static FrameSourceSink s;
    return s;
}
}  // namespace

void setFrameSourceSink(FrameSourceSink s) {
    sink() = std::move(s);
}

void frameSourceLog(const char* format, ...) {
    // Formatting a line per frame costs time, so nothing is formatted while nobody listens.
    if (!sink())
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    sink()(line);
}

}  // namespace tarn
