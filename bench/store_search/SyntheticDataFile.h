// Writes the bytes of a planned data file: the copy of its file record, the frame records of every
// event (valid headers and times, synthetic payloads), their key-frame entries and the end marker.
#pragma once

#include "ImageFile.h"
#include "StoreLayout.h"

namespace storebench {

void writeDataFile(const ImageFile& image, const rfs::disk_param_t& param, const PlannedFile& file);

}  // namespace storebench
