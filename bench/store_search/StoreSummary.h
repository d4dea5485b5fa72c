// A few lines that say what the benchmark store holds.
#pragma once

#include <ostream>

#include "StoreLayout.h"

namespace storebench {

void printStoreSummary(const StoreLayout& layout, std::ostream& out);

}  // namespace storebench
