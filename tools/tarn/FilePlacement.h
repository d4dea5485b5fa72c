// Output files are written under a temporary name beside their target and given the target's name only
// when complete, so that a failure never leaves a half-written file and never harms a file already there.
#pragma once

#include <filesystem>
#include <string>

namespace tarn {

// Hidden, unique to this process, and still ending in the target's extension (".exporting-" for activity
// "exporting").
std::filesystem::path temporaryBeside(const std::filesystem::path& target, const std::string& activity);

enum class Placement { Placed, TargetAppeared, Failed };

// Renames the finished temporary file to the target. Without replace, a target that appeared meanwhile is
// never replaced (TargetAppeared).
Placement placeFile(const std::filesystem::path& temporary, const std::filesystem::path& target, bool replace);

}  // namespace tarn
