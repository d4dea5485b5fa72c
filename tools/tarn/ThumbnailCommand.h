// `tarn thumbnail`: writes the thumbnail an SD card keeps with a recording to a JPEG file.
#pragma once

#include <CLI/CLI.hpp>

namespace tarn {

void addThumbnailCommand(CLI::App& app, int& exitStatus);

}  // namespace tarn
