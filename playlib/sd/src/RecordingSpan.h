// The span of recordings on all attached cards, from their partitions' recording ranges.
#pragma once

#include "rfs/PackedTime.h"

namespace kvrfs {

struct RecordingSpan {
    rfs::PackedTime start = 0;  // 0: no recording
    rfs::PackedTime end = 0;
};

RecordingSpan recordingSpan();

}  // namespace kvrfs
