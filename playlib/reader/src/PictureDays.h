// Reads the "PicMon_" block of a picture file: its header is checked before any day record is used,
// so that damaged offsets, sizes and counts never lead a read outside the block or the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "DataFileAccess.h"
#include "rfs/PictureRecords.h"

namespace kvrfs {

constexpr int kMaxPicMonBlocks = 16;

enum class PictureDaysResult { Read, Unusable, ShortRead };

struct PictureFile {
    const std::string& storePath;
    uint32_t fileIndex;
    OpenedDataFile data;
    uint64_t size;  // bounds the day records
};

// Calls `visit` with each day record, in order, when the block is usable for the month (year and
// month bits of a packed time).
PictureDaysResult readPictureDays(const PictureFile& file, uint32_t month,
                                  const std::function<void(const rfs::pic_day_t&)>& visit);

}  // namespace kvrfs
