// One frame record into a record file, the same way for every caller (the record file exports, local
// recording, conversion): video payloads are brought into 4-byte start-code form first.
#pragma once

#include <cstdint>

#include "CBaseRecordFile.h"

namespace kvplay::record {

// length: header and payload. The writer's result (0, CBaseRecordFile::kDayChanged, or a failure), or -1
// when the record is malformed or cannot be normalised.
int inputRecordFrame(CBaseRecordFile& writer, const uint8_t* frame, int length);

}  // namespace kvplay::record
