// How recordings become events (cut by length and at month changes) and events become chunks.
#include <gtest/gtest.h>

#include "TestScenarios.h"
#include "rfssim/RecordingPlan.h"

using namespace rfssim;

namespace {

struct CutCase {
    const char* name;
    const char* from;
    const char* to;
    int eventSeconds;
    std::vector<const char*> eventStarts;  // each event ends where the next starts, the last at `to`
};

// clang-format off
const CutCase kCuts[] = {
    {"one_event", "2026-12-01 09:00:00", "2026-12-01 09:10:00", 0,
     {"2026-12-01 09:00:00"}},
    {"cut_by_length", "2026-12-01 09:00:00", "2026-12-01 09:12:00", 300,
     {"2026-12-01 09:00:00", "2026-12-01 09:05:00", "2026-12-01 09:10:00"}},
    {"cut_at_month_change", "2026-01-31 23:59:00", "2026-02-01 00:01:00", 0,
     {"2026-01-31 23:59:00", "2026-02-01 00:00:00"}},
    {"one_event_across_midnight", "2026-12-01 23:58:00", "2026-12-02 00:02:00", 0,
     {"2026-12-01 23:58:00"}},
    {"length_runs_on_from_the_start_across_the_month", "2026-12-31 23:59:30", "2027-01-01 00:01:00", 60,
     {"2026-12-31 23:59:30", "2027-01-01 00:00:00", "2027-01-01 00:00:30"}},
};
// clang-format on

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

class RecordingCuts : public ::testing::TestWithParam<CutCase> {};

}  // namespace

TEST_P(RecordingCuts, EventsCoverTheRecordingWithoutGaps) {
    const CutCase& c = GetParam();
    Scenario scenario;
    Recording r = recording(2, StreamKind::Sub, c.from, c.to);
    r.eventSeconds = c.eventSeconds;
    scenario.recordings = {r};
    const RecordingPlan plan = planRecordings(scenario);

    ASSERT_EQ(plan.events.size(), c.eventStarts.size());
    for (std::size_t e = 0; e < plan.events.size(); ++e) {
        const PlannedEvent& event = plan.events[e];
        const char* end = e + 1 < c.eventStarts.size() ? c.eventStarts[e + 1] : c.to;
        EXPECT_EQ(event.startSecond, rfs::toEpochSeconds(at(c.eventStarts[e]))) << "event " << e;
        EXPECT_EQ(event.endSecond, rfs::toEpochSeconds(at(end))) << "event " << e;
        EXPECT_EQ(event.storeChannel, 1 + scenario.channels) << "the sub stream lies above the main streams";
        EXPECT_EQ(event.video.width, scenario.subVideo.width);
    }
}

INSTANTIATE_TEST_SUITE_P(Cuts, RecordingCuts, ::testing::ValuesIn(kCuts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RecordingPlan, ChunksCoverEachEventInWholeGops) {
    Scenario scenario;
    scenario.video.fps = 25;
    scenario.video.gop = 30;
    Recording a = recording(1, StreamKind::Main, "2026-12-01 09:00:00", "2026-12-01 09:01:00");
    Recording b = recording(1, StreamKind::Main, "2026-12-01 10:00:00", "2026-12-01 10:00:03");
    scenario.recordings = {a, b};
    const RecordingPlan plan = planRecordings(scenario);

    ASSERT_EQ(plan.events.size(), 2u);
    std::vector<uint32_t> covered(plan.events.size(), 0);
    for (const ChunkJob& job : plan.chunks) {
        EXPECT_EQ(job.firstFrame, covered[job.eventIndex]) << "chunks follow each other";
        EXPECT_EQ(job.firstFrame % 30, 0u) << "every chunk starts a GOP";
        covered[job.eventIndex] += job.frameCount;
        EXPECT_EQ(job.endsEvent, covered[job.eventIndex] == plan.events[job.eventIndex].frameCount());
    }
    EXPECT_EQ(covered[0], 1500u);
    EXPECT_EQ(covered[1], 75u);
    EXPECT_EQ(plan.events[0].frameTimeUs(1), rfs::toEpochSeconds(at("2026-12-01 09:00:00")) * 1'000'000 + 40'000);
}
