// Turns the scenario's recordings into events (cut by event length and at month changes, where a
// recorder starts a new file anyway) and the events into chunks that can be encoded independently.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "rfssim/Scenario.h"

namespace rfssim {

struct PlannedEvent {
    int userChannel = 1;
    StreamKind stream = StreamKind::Main;
    int storeChannel = 0;
    VideoSettings video;
    int64_t startSecond = 0;  // seconds since 1970 by UTC rules
    int64_t endSecond = 0;    // exclusive
    uint32_t recTypes = 0;
    uint8_t flag = 0;
    bool audio = false;
    int virtualKeyFrameEvery = 0;
    rfs::FileState fileState = rfs::FileInUse;
    bool newFile = false;                          // the recording's first event only
    RecordingEnd ending = RecordingEnd::Finished;  // the recording's, on its last event only
    std::optional<PowerLoss> powerLoss = std::nullopt;  // the recording's, on its last event only

    uint32_t frameCount() const;
    int64_t frameTimeUs(uint32_t frame) const;  // frameCount() gives the event's end
};

// A run of whole GOPs of one event. Every chunk starts with a key frame, so chunks encoded by separate
// encoders concatenate into one valid stream.
struct ChunkJob {
    std::size_t eventIndex = 0;
    uint32_t firstFrame = 0;
    uint32_t frameCount = 0;
    bool endsEvent = false;
};

struct RecordingPlan {
    std::vector<PlannedEvent> events;
    std::vector<ChunkJob> chunks;  // in the order they are written
};

RecordingPlan planRecordings(const Scenario& scenario);

}  // namespace rfssim
