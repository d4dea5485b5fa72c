// `tarn labels STORE --store-channels N [...]`: the labels (tags) of the store, and `tarn label add|rename|
// delete`, which change them.
#pragma once

#include <CLI/CLI.hpp>

namespace tarn {

void addLabelsCommand(CLI::App& app, int& exitStatus);
void addLabelCommand(CLI::App& app, int& exitStatus);

}  // namespace tarn
