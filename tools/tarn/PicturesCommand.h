// `tarn pictures STORE --store-channels N --from TIME --to TIME ...`: the pictures (snapshots) the recorder
// took over a span, by time.
#pragma once

#include <CLI/CLI.hpp>

namespace tarn {

void addPicturesCommand(CLI::App& app, int& exitStatus);

}  // namespace tarn
