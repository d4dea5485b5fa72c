// The one transfer routine of the read handles: whole 4 KiB blocks from the data file, with the
// number of leading bytes the caller skips.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ReadHandles.h"

namespace kvrfs {

constexpr uint64_t kReadAlignment = 4096;

// Reads from the handle's position; `limit` > 0 asks for exactly that many bytes of one frame.
// Bytes delivered counted from the aligned position (skip included), 0 at the end of the event,
// or a negative read result.
int32_t readEventData(ReadHandle& handle, unsigned char* buffer, std::size_t length, uint64_t limit, int* skip);

}  // namespace kvrfs
