// `tarn info STORE [--json]`: the parameter block and partitions of a store.
#pragma once

#include <CLI/CLI.hpp>

namespace tarn {

void addInfoCommand(CLI::App& app, int& exitStatus);

}  // namespace tarn
