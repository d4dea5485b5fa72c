// Writes a picture to a file in one piece: under a temporary name beside the target, renamed into place
// when complete.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tarn {

// replace: an existing target may be replaced. Throws Failure, leaving the target as it was.
void writePictureFile(const std::filesystem::path& target, const std::vector<uint8_t>& bytes, bool replace);

}  // namespace tarn
