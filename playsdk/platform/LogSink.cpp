#include "LogSink.h"

#include <cstdarg>
#include <cstdlib>
#include <mutex>

namespace kvplay {
namespace {

constexpr std::size_t kMaxLine = 259;

struct Sink {
    std::mutex lock;
    std::FILE* file = nullptr;
    std::function<void(const std::string&)> capture;
};

Sink& sink() {
    static Sink s;
    return s;
}

bool debugOutput() {
    static const bool on = std::getenv("KVPLAY_DEBUG") != nullptr;
    return on;
}

void emit(const char* line) {
    Sink& s = sink();
    std::lock_guard guard(s.lock);
    if (debugOutput())
        std::fprintf(stderr, "%s\n", line);
    if (s.file) {
        std::fprintf(s.file, "%s\n", line);
        std::fflush(s.file);
    }
    if (s.capture)
        s.capture(line);
}

}  // namespace

void logLine(const char* format, ...) {
    char line[kMaxLine + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    emit(line);
}

void logInstanceLine(const void* instance, int channel, const char* format, ...) {
    char line[kMaxLine + 1];
    const int prefix = std::snprintf(line, sizeof line, "[null ch:%d this:%p] ", channel, instance);
    va_list args;
    va_start(args, format);
    std::vsnprintf(line + prefix, sizeof line - static_cast<std::size_t>(prefix), format, args);
    va_end(args);
    emit(line);
}

bool openLogFile(const char* path) {
    Sink& s = sink();
    std::lock_guard guard(s.lock);
    if (s.file || !path || !*path)
        return false;
    s.file = std::fopen(path, "a");
    return s.file != nullptr;
}

void closeLogFile() {
    Sink& s = sink();
    std::lock_guard guard(s.lock);
    if (s.file)
        std::fclose(s.file);
    s.file = nullptr;
}

void setLogCapture(std::function<void(const std::string&)> capture) {
    Sink& s = sink();
    std::lock_guard guard(s.lock);
    s.capture = std::move(capture);
}

}  // namespace kvplay
