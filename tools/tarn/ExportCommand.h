// `tarn export STORE --channel N --from TIME --to TIME -o OUT.mp4`: one channel's recordings over a span
// into an MP4 file, every frame record as the recorder stored it.
#pragma once

#include <CLI/CLI.hpp>

namespace tarn {

void addExportCommand(CLI::App& app, int& exitStatus);

}  // namespace tarn
