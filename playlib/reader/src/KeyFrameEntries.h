// Key-frame index entries at the reader's entry size, decoded into one in-memory form.
#pragma once

#include <cstddef>
#include <cstdint>

#include "StoreFile.h"
#include "rfs/IndexRecords.h"

namespace kvrfs {

uint32_t keyFrameEntrySize();

// `raw` holds count stored entries.
void decodeKeyFrameEntries(const unsigned char* raw, std::size_t count, rfs::iframe_info_t* out);

// Reads `count` entries from entry number `first` on; false on a short read.
bool readKeyFrameEntries(const StoreFile& file, uint64_t fileBase, int64_t first, std::size_t count,
                         rfs::iframe_info_t* out);

// The stored length of the key frame's record: the entry's own where it has one, else taken from the
// frame header at its position. 0 when no frame record lies there.
uint64_t keyFrameLength(const StoreFile& file, uint64_t fileBase, const rfs::iframe_info_t& entry);

}  // namespace kvrfs
