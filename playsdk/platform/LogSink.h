// The engine's diagnostic lines: printf-formatted, at most 259 characters, written to standard error
// when KVPLAY_DEBUG is set, to the log file opened by KVPlayInitLog, and to a capture that tests install.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace kvplay {

void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A line about an instance: "[null ch:<channel> this:<instance>] " and the text.
void logInstanceLine(const void* instance, int channel, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Opens the log file for appending; false when one is open already or the path cannot be opened.
bool openLogFile(const char* path);
void closeLogFile();

// Every line also goes to this function while it is set (tests).
void setLogCapture(std::function<void(const std::string&)> capture);

}  // namespace kvplay
