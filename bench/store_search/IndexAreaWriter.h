// Writes the parameter block and the four copies of every partition's index area. Only records are
// written; the event blocks of free files and the unused part of each block stay holes.
#pragma once

#include "ImageFile.h"
#include "StoreLayout.h"

namespace storebench {

void writeIndexAreas(const ImageFile& image, const StoreLayout& layout);

}  // namespace storebench
