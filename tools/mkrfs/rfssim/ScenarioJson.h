// Reads a scenario from its JSON form. Checks types and formats; validateScenario checks the values.
#pragma once

#include <filesystem>
#include <string>

#include "rfssim/Scenario.h"

namespace rfssim {

// Throws SimError naming the offending key.
Scenario parseScenario(const std::string& jsonText);
Scenario loadScenarioFile(const std::filesystem::path& path);

}  // namespace rfssim
