// Produces the frames of one chunk: the pictures encoded, the audio blocks of the same span, merged in
// capture order and grouped by key frame.
#pragma once

#include <cstdint>
#include <vector>

#include "rfs/FrameRecord.h"
#include "rfssim/RecordingPlan.h"

namespace rfssim {

struct SimFrame {
    rfs::FrameType type = rfs::FrameP;
    int64_t timeUs = 0;             // capture time
    uint16_t keyFrameDistance = 0;  // 'V': frames back to the GOP's I frame
    std::vector<uint8_t> payload;
};

// An I frame and everything captured up to the next one. A group is never split across data files,
// so every event in a file starts with a key frame.
using FrameGroup = std::vector<SimFrame>;

struct EncodedChunk {
    std::vector<FrameGroup> groups;
};

EncodedChunk encodeChunk(const PlannedEvent& event, const ChunkJob& job);

}  // namespace rfssim
