// Frame records as the recorder stored them in a data file, read straight from its bytes without the
// reader library, so that what the libraries deliver can be held against them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "rfs/FrameRecord.h"

struct StoredFrame {
    uint64_t offset = 0;  // in the data file
    uint64_t length = 0;  // stored length, header and padded payload
    rfs::KVFrameHeader header{};
    std::vector<uint8_t> payload;
};

// The records of an event's data [dataStart, dataStart + dataLen); bytes that do not hold a whole record
// are passed over 8 at a time, the alignment of records.
std::vector<StoredFrame> readStoredFrames(const std::filesystem::path& file, uint64_t dataStart, uint64_t dataLen);
