// Diagnostics of the frame sources: fixed texts with printf placeholders, dropped unless a sink is set.
#pragma once

#include <functional>
#include <string>

namespace tarn {

using FrameSourceSink = std::function<void(const std::string&)>;

// An empty sink drops the lines again.
void setFrameSourceSink(FrameSourceSink sink);

void frameSourceLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tarn
