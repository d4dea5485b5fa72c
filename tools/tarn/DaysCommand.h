// `tarn days STORE --month YYYY-MM ...`: which days of a month hold recordings, and of which record types.
#pragma once

#include <CLI/CLI.hpp>

namespace tarn {

void addDaysCommand(CLI::App& app, int& exitStatus);

}  // namespace tarn
