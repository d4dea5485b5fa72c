// The reader's diagnostic line: a local-time prefix and one message, at most 1024 bytes.
// Lines are dropped unless a sink is set (tests) or KVRFS_DEBUG is set in the environment (then they go
// to the reader's stream: standard error or standard output).
#pragma once

#include <functional>
#include <string>

namespace kvrfs {

using MessageSink = std::function<void(const std::string& line)>;

void setMessageSink(MessageSink sink);

[[gnu::format(printf, 1, 2)]] void message(const char* format, ...);

}  // namespace kvrfs
