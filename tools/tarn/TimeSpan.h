// The span of recorder time that a command works on, from --from and --to (both included).
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "rfs/PackedTime.h"

namespace tarn {

struct TimeSpan {
    rfs::CalendarTime from;
    rfs::CalendarTime to;
};

struct TimeSpanOptions {
    std::string from;
    std::string to;
};

// Required, or (for listings) defaulting to every time a store can hold.
enum class SpanOptions { Required, Optional };
void addTimeSpanOptions(CLI::App& command, TimeSpanOptions& options, SpanOptions kind = SpanOptions::Required);

// Throws Failure for a malformed time or a span that ends before it starts.
TimeSpan resolveTimeSpan(const TimeSpanOptions& options);

}  // namespace tarn
