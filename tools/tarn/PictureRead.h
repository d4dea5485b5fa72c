// Reads one listed picture through the reader library and takes the JPEG out of its frame record, after
// checking the record against the bytes read.
#pragma once

#include <cstdint>
#include <vector>

#include "PictureList.h"

namespace tarn {

// The JPEG payload. Throws Failure when the reader cannot read the picture or its record is damaged.
std::vector<uint8_t> readPictureJpeg(const FoundPicture& found);

}  // namespace tarn
