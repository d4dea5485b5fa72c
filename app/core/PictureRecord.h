// The check a picture read must pass before its record is handed out.
#pragma once

#include <cstdint>

namespace tarn {

// True when the bytes read hold a whole frame record at `offset`: the reader counts the bytes from the
// start of the block, so the record's offset is part of what must fit.
bool isWholePicture(const uint8_t* buffer, int32_t bytesRead, uint32_t offset);

}  // namespace tarn
