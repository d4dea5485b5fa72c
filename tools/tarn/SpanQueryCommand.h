// A subcommand that queries the store's channels over a span of time (`search`, `pictures`): the query
// options, --from and --to, checked before the store is attached, then the body with the store attached.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>

#include "QueryOptions.h"
#include "TimeSpan.h"

namespace tarn {

using SpanQueryBody = std::function<void(const Query& query, const TimeSpan& span)>;

void addSpanQueryCommand(CLI::App& app, const char* name, const char* description, int& exitStatus,
                         SpanQueryBody body);

}  // namespace tarn
