#include "rfssim/RecordingPlan.h"

#include <algorithm>

#include "rfs/PackedTime.h"

namespace rfssim {
namespace {

// Long enough that opening an encoder per chunk costs little, short enough to spread over cores.
constexpr uint32_t kChunkSeconds = 10;

int64_t nextMonthStart(int64_t second) {
    rfs::CalendarTime c = rfs::fromEpochSeconds(second);
    c = rfs::CalendarTime{c.month == 12 ? c.year + 1 : c.year, c.month == 12 ? 1 : c.month + 1, 1, 0, 0, 0};
    return rfs::toEpochSeconds(c);
}

int64_t nextCut(const Recording& recording, int64_t from, int64_t at, int64_t to) {
    int64_t cut = std::min(to, nextMonthStart(at));
    if (recording.eventSeconds > 0)
        cut = std::min(cut, from + ((at - from) / recording.eventSeconds + 1) * recording.eventSeconds);
    return cut;
}

void addChunks(RecordingPlan& plan, std::size_t eventIndex) {
    const PlannedEvent& event = plan.events[eventIndex];
    const auto gop = static_cast<uint32_t>(event.video.gop);
    const uint32_t chunkFrames = (kChunkSeconds * static_cast<uint32_t>(event.video.fps) + gop - 1) / gop * gop;
    const uint32_t total = event.frameCount();
    for (uint32_t first = 0; first < total; first += chunkFrames) {
        const uint32_t count = std::min(chunkFrames, total - first);
        plan.chunks.push_back(ChunkJob{eventIndex, first, count, first + count == total});
    }
}

}  // namespace

uint32_t PlannedEvent::frameCount() const {
    return static_cast<uint32_t>((endSecond - startSecond) * video.fps);
}

int64_t PlannedEvent::frameTimeUs(uint32_t frame) const {
    return startSecond * 1'000'000 + int64_t{frame} * 1'000'000 / video.fps;
}

RecordingPlan planRecordings(const Scenario& scenario) {
    RecordingPlan plan;
    for (const Recording& recording : scenario.recordings) {
        const int64_t from = rfs::toEpochSeconds(recording.from);
        const int64_t to = rfs::toEpochSeconds(recording.to);
        for (int64_t start = from; start < to;) {
            const int64_t end = nextCut(recording, from, start, to);
            plan.events.push_back(PlannedEvent{.userChannel = recording.channel,
                                               .stream = recording.stream,
                                               .storeChannel = storeChannel(scenario, recording),
                                               .video = streamVideo(scenario, recording.stream),
                                               .startSecond = start,
                                               .endSecond = end,
                                               .recTypes = recording.recTypes,
                                               .flag = recording.flag,
                                               .audio = recording.audio,
                                               .virtualKeyFrameEvery = recording.virtualKeyFrameEvery,
                                               .fileState = recording.fileState,
                                               .newFile = recording.newFile && start == from,
                                               .ending = end == to ? recording.ending : RecordingEnd::Finished,
                                               .powerLoss = end == to ? recording.powerLoss : std::nullopt});
            addChunks(plan, plan.events.size() - 1);
            start = end;
        }
    }
    return plan;
}

}  // namespace rfssim
