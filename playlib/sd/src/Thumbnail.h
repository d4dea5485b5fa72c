// An event's thumbnail: the 'T' frame record its event record points at.
#pragma once

#include <cstdint>

namespace kvrfs {

constexpr uint32_t kThumbnailAreaEnd = 0x1400000;  // thumbnails lie in the first 20 MiB of a data file
constexpr uint32_t kFirstThumbnailOffset = 4096;

// Reads the record at `offset` of the data file of recordId into buffer; *size is the buffer's length
// in and the record's length out. 0 or -1.
int32_t readThumbnail(uint32_t recordId, uint32_t offset, unsigned char* buffer, int* size);

}  // namespace kvrfs
