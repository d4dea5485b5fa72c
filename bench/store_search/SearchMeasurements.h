// The month, day and one-track searches, timed warm, each result checked against the written store.
#pragma once

#include "Report.h"
#include "StoreLayout.h"

namespace storebench {

void measureSearches(const StoreLayout& layout, Report& report);

}  // namespace storebench
