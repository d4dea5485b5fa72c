// Time seeks and whole-event reads in the data files that hold bytes, and dd over the same bytes.
#pragma once

#include <filesystem>

#include "Report.h"
#include "StoreLayout.h"

namespace storebench {

void measureReads(const StoreLayout& layout, const std::filesystem::path& image, Report& report);

}  // namespace storebench
