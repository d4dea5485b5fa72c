// The options that `tarn days`, `tarn search` and `tarn pictures` share: the store, the recorder's number
// of channels, the channels, the stream and the record types. Defined and checked in one place.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>
#include <vector>

#include "ChannelSelection.h"

namespace tarn {

// As typed.
struct QueryOptions {
    std::string store;
    std::string storeChannels;
    std::string channels;
    std::string stream = "main";
    std::string types = "all";
    bool json = false;
    bool sd = false;
};

// As checked.
struct Query {
    std::string store;
    ChannelLayout layout{1};
    std::vector<Channel> channels;
    uint32_t recordTypes = ~0u;
    bool json = false;
    bool sd = false;
};

void addQueryOptions(CLI::App& command, QueryOptions& options);

// Checks everything but the store, so that a mistyped option never touches it. Throws Failure.
Query resolveQuery(const QueryOptions& options);

}  // namespace tarn
