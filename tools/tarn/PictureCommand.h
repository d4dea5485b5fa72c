// `tarn picture STORE --store-channels N --channel C --time TIME -o OUT.jpg`: the picture a channel took
// at a second, as the JPEG the recorder stored.
#pragma once

#include <CLI/CLI.hpp>

namespace tarn {

void addPictureCommand(CLI::App& app, int& exitStatus);

}  // namespace tarn
