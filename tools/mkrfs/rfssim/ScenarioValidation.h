// Rejects scenarios that no recorder could have written, before anything touches the disk.
#pragma once

#include "rfssim/Scenario.h"

namespace rfssim {

// Throws SimError naming the first problem found.
void validateScenario(const Scenario& scenario);

}  // namespace rfssim
