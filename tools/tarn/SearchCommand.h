// `tarn search STORE --from TIME --to TIME ...`: the recordings of each channel that overlap a span.
#pragma once

#include <CLI/CLI.hpp>

namespace tarn {

void addSearchCommand(CLI::App& app, int& exitStatus);

}  // namespace tarn
