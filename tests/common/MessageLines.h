// Diagnostic lines a reader library wrote, as a test captured them.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

// True when a line ends with `text` (each line starts with the local time).
inline bool someLineEndsWith(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0;
    });
}
