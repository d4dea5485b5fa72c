// Writes a whole store the way a recorder would have left it after recording the scenario.
#pragma once

#include <filesystem>

#include "rfssim/Scenario.h"
#include "rfssim/StoreManifest.h"

namespace rfssim {

// The path must be free for the store (see prepareOutput). Throws SimError for scenarios no store can
// hold, std::system_error when the disk refuses.
StoreManifest writeStore(const Scenario& scenario, const std::filesystem::path& path);

}  // namespace rfssim
