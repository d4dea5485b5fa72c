// The options of the commands that write one still picture of a channel to a JPEG file (`tarn picture`,
// `tarn thumbnail`), defined and checked in one place.
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <string>

#include "ChannelSelection.h"
#include "rfs/PackedTime.h"

namespace tarn {

struct StillOptions {
    std::string store;
    std::string storeChannels;
    std::string channel;
    std::string stream = "main";
    std::string time;
    std::string output;
    bool overwrite = false;
    bool sd = false;
};

// timeHelp: what --time names for this command.
void addStillOptions(CLI::App& command, StillOptions& options, const std::string& timeHelp);

struct StillRequest {
    ChosenChannel chosen;
    rfs::CalendarTime time;
    std::filesystem::path output;
};

// Checks everything but the store, so that a mistyped option never touches it. Throws Failure.
StillRequest resolveStill(const StillOptions& options);

}  // namespace tarn
