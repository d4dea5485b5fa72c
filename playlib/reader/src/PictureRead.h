// Reads one listed picture through a read handle: the 4 KiB blocks that hold its frame record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

// Bytes read (whole blocks), 0 when the buffer is too small, or a negative read result. The frame
// record starts *externLength bytes into the buffer.
int32_t readPicture(int handleNumber, const rfs_pic_t* picture, unsigned char* buffer, std::size_t length,
                    int* externLength);

}  // namespace kvrfs
