#include "MessageLine.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "ReaderProfile.h"

namespace kvrfs {
namespace {

constexpr std::size_t kMaxLine = 1024;

MessageSink& currentSink() {
    static MessageSink sink = [] {
        if (std::getenv("KVRFS_DEBUG") == nullptr)
            return MessageSink{};
        std::FILE* stream =
            readerProfile().messageStream == MessageStream::StandardOutput ? stdout : stderr;
        return MessageSink{[stream](const std::string& line) { std::fputs(line.c_str(), stream); }};
    }();
    return sink;
}

}  // namespace

void setMessageSink(MessageSink sink) { currentSink() = std::move(sink); }

void message(const char* format, ...) {
    const MessageSink& sink = currentSink();
    if (!sink)
        return;

    char line[kMaxLine];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    int used = std::snprintf(line, sizeof line, "[%04d-%02d-%02d %02d:%02d:%02d] ", local.tm_year + 1900,
                             local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);

    va_list args;
    va_start(args, format);
    const int wanted = std::vsnprintf(line + used, sizeof line - used, format, args);
    va_end(args);
    used = wanted < 0 ? used : std::min<int>(used + wanted, kMaxLine - 2);

    std::string text(line, static_cast<std::size_t>(used));
    if (text.empty() || text.back() != '\n')
        text.push_back('\n');
    sink(text);
}

}  // namespace kvrfs
