// The label area of a store: its head, the labels of the scenario and the end marker behind them.
#pragma once

#include <cstdint>
#include <vector>

#include "rfssim/Scenario.h"

namespace rfssim {

// From the start of the area; the rest of the area stays zero.
std::vector<uint8_t> labelArea(const Scenario& scenario);

}  // namespace rfssim
