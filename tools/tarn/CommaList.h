// Splits an option's comma-separated list; empty items are kept so that the caller can refuse them.
#pragma once

#include <string>
#include <vector>

namespace tarn {

inline std::vector<std::string> splitCommaList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t from = 0;
    for (std::size_t comma = text.find(','); comma != std::string::npos; comma = text.find(',', from)) {
        items.push_back(text.substr(from, comma - from));
        from = comma + 1;
    }
    items.push_back(text.substr(from));
    return items;
}

}  // namespace tarn
