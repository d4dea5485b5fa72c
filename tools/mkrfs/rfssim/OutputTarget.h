// Makes room for a new store without ever removing anything that is not a store.
#pragma once

#include <filesystem>

#include "rfssim/Scenario.h"

namespace rfssim {

// Refuses an existing image or a non-empty folder unless force is set; with force it removes the old
// image, or the store files in the folder, and refuses when the folder holds anything else.
void prepareOutput(const std::filesystem::path& path, StoreLayout layout, bool force);

// Removes what a failed run left: the image, or the store files in the folder.
void discardOutput(const std::filesystem::path& path, StoreLayout layout);

}  // namespace rfssim
