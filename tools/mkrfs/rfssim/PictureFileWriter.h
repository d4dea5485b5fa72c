// Writes one picture file the way the recorder fills it: the "PicMon_" block of picture days at 4096,
// each picture's frame record in 4 KiB blocks from the media start (after `externLength` leading
// bytes), the picture index downward from the top of the file ending in "Pend", and the file record.
#pragma once

#include <cstdint>

#include "rfssim/ByteSink.h"
#include "rfssim/DataFileWriter.h"
#include "rfssim/Scenario.h"

namespace rfssim {

constexpr uint32_t kDayRecordSize = 8;  // a day record's date and 4 bytes that readers skip

// Every picture of the file carries the same JPEG, so that thousands of them cost nothing to write.
// Throws SimError when the pictures do not fit into the file.
ClosedDataFile writePictureFile(const DataFileLayout& layout, DataFileSlot slot, const PictureSeries& series,
                                uint32_t eseq, ByteSink& sink);

}  // namespace rfssim
