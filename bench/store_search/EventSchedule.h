// What each camera recorded over the five days: a mix of scheduled recording and motion and alarm
// input events, the same for both streams of a camera.
#pragma once

#include <cstdint>
#include <vector>

namespace storebench {

struct ScheduledEvent {
    int64_t start;  // epoch seconds
    uint32_t seconds;
    uint32_t recType;
};

// Camera `channel`'s events in time order; none runs past midnight, where the recorder starts a new one.
std::vector<ScheduledEvent> channelSchedule(int channel);

}  // namespace storebench
