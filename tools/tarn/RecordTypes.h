// Record type masks and their names: bit 0 "normal", bit 1 "motion", bit 2 "io", any other bit N "typeN".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

// The names of the bits set in the mask, lowest bit first.
std::vector<std::string> recordTypeNames(uint32_t mask);

// The names joined with a separator; "-" for an empty mask.
std::string joinedRecordTypeNames(uint32_t mask, const std::string& separator);

// "all" (every bit, the search's -1) or a comma-separated list of names. Throws Failure.
uint32_t parseRecordTypes(const std::string& text);

}  // namespace tarn
