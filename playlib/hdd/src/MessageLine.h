// The reader's diagnostic line: a local-time prefix and one message, at most 1024 bytes.
// Lines are dropped unless a sink is set (tests) or KVRFS_DEBUG is set in the environment (stderr).
#pragma once

#include <functional>
#include <string>

namespace kvhdd {

using MessageSink = std::function<void(const std::string& line)>;

void setMessageSink(MessageSink sink);

[[gnu::format(printf, 1, 2)]] void message(const char* format, ...);

}  // namespace kvhdd
