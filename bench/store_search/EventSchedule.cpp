#include "EventSchedule.h"

#include <algorithm>
#include <random>

#include "StoreShape.h"
#include "rfs/IndexRecords.h"

namespace storebench {
namespace {

struct EventKind {
    uint32_t recType;
    uint32_t minSeconds;
    uint32_t maxSeconds;
    uint32_t minGap;  // until the camera's next event
    uint32_t maxGap;
};

constexpr EventKind kNormal{rfs::RecNormal, 5 * 60, 30 * 60, 0, 120};
constexpr EventKind kMotion{rfs::RecMotion, 10, 240, 20, 20 * 60};
constexpr EventKind kIo{rfs::RecIo, 5, 90, 60, 30 * 60};

// Weights of normal, motion and alarm events: half the cameras record around the clock, the others
// mostly on motion or alarm input.
struct Profile {
    int normal;
    int motion;
    int io;
};

Profile profileOf(int channel) {
    if (channel < 8)
        return {80, 20, 0};
    if (channel < 13)
        return {0, 90, 10};
    return {20, 40, 40};
}

}  // namespace

std::vector<ScheduledEvent> channelSchedule(int channel) {
    std::mt19937 random(1000 + static_cast<unsigned>(channel));
    auto uniform = [&random](uint32_t lo, uint32_t hi) {
        return std::uniform_int_distribution<uint32_t>(lo, hi)(random);
    };
    const Profile profile = profileOf(channel);
    std::discrete_distribution<int> pick({double(profile.normal), double(profile.motion), double(profile.io)});
    const EventKind* kinds[] = {&kNormal, &kMotion, &kIo};

    std::vector<ScheduledEvent> events;
    const int64_t end = dayStart(kDays);
    int64_t t = dayStart(0) + uniform(0, 600);
    while (t < end) {
        const EventKind& kind = *kinds[pick(random)];
        const int64_t stop = std::min<int64_t>(t + uniform(kind.minSeconds, kind.maxSeconds), end);
        while (t < stop) {
            const int64_t midnight = dayStart(static_cast<int>((t - dayStart(0)) / 86400) + 1);
            const int64_t pieceEnd = std::min(stop, midnight);
            events.push_back({t, static_cast<uint32_t>(pieceEnd - t), kind.recType});
            t = pieceEnd;
        }
        t += uniform(kind.minGap, kind.maxGap);
    }
    return events;
}

}  // namespace storebench
