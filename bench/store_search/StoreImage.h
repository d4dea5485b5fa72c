// The benchmark image in its cache folder: built when missing or when it was made from another layout.
#pragma once

#include <filesystem>
#include <ostream>

#include "StoreLayout.h"

namespace storebench {

// The path of an image that holds `layout`. Throws when it cannot be built.
std::filesystem::path ensureStoreImage(const std::filesystem::path& folder, const StoreLayout& layout,
                                       std::ostream& log);

}  // namespace storebench
