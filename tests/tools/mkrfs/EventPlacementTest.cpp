// Which data file each event lands in and what the records say about it: recordings sharing a file,
// the events-per-file limit, forced new files, file states, events still being written, an empty event
// and one across midnight, on a hard disk and on an SD card. The index, the data files and the manifest
// must all tell the same story.
#include <gtest/gtest.h>

#include <optional>

#include "DataFileCheck.h"
#include "StoreOfBothKinds.h"
#include "TestScenarios.h"

namespace fs = std::filesystem;
using namespace rfssim;

namespace {

// A recording from `from` to `to` with the settings of `r` (channel 1's main stream unless it says otherwise).
Recording take(const char* from, const char* to, Recording r = {}) {
    r.from = at(from);
    r.to = at(to);
    return r;
}

constexpr Recording kWriting{.ending = RecordingEnd::EventStillWriting};
constexpr Recording kNewFile{.newFile = true};

struct ExpectedEvent {
    const char* start;
    const char* end;  // second of the last frame
    uint32_t magic = rfs::kEventMagic;
};

struct ExpectedFile {
    int storeChannel;
    rfs::FileState state;
    std::vector<ExpectedEvent> events;
};

struct PlacementCase {
    const char* name;
    std::optional<uint32_t> eventsPerFile;
    std::vector<Recording> recordings;
    std::vector<ExpectedFile> files;  // in the order they were taken
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.name;
}

// Four-second recordings at 5 frames a second: each event ends in the fourth second.
// clang-format off
const PlacementCase kCases[] = {
    {"recordings_share_a_file", {},
     {take("2026-12-01 09:00:00", "2026-12-01 09:00:04"),
      take("2026-12-01 09:01:00", "2026-12-01 09:01:04"),
      take("2026-12-01 09:02:00", "2026-12-01 09:02:04")},
     {{0, rfs::FileInUse, {{"2026-12-01 09:00:00", "2026-12-01 09:00:03"},
                           {"2026-12-01 09:01:00", "2026-12-01 09:01:03"},
                           {"2026-12-01 09:02:00", "2026-12-01 09:02:03"}}}}},
    {"events_per_file_limit", 2,
     {take("2026-12-01 09:00:00", "2026-12-01 09:00:04"),
      take("2026-12-01 09:01:00", "2026-12-01 09:01:04"),
      take("2026-12-01 09:02:00", "2026-12-01 09:02:04")},
     {{0, rfs::FileInUse, {{"2026-12-01 09:00:00", "2026-12-01 09:00:03"},
                           {"2026-12-01 09:01:00", "2026-12-01 09:01:03"}}},
      {0, rfs::FileInUse, {{"2026-12-01 09:02:00", "2026-12-01 09:02:03"}}}}},
    {"limit_counts_cut_events_too", 2,
     {take("2026-12-01 09:00:00", "2026-12-01 09:00:06", {.eventSeconds = 2}),
      take("2026-12-01 09:01:00", "2026-12-01 09:01:04")},
     {{0, rfs::FileInUse, {{"2026-12-01 09:00:00", "2026-12-01 09:00:01"},
                           {"2026-12-01 09:00:02", "2026-12-01 09:00:03"}}},
      {0, rfs::FileInUse, {{"2026-12-01 09:00:04", "2026-12-01 09:00:05"},
                           {"2026-12-01 09:01:00", "2026-12-01 09:01:03"}}}}},
    {"limit_holds_per_channel", 2,
     {take("2026-12-01 09:00:00", "2026-12-01 09:00:04"),
      take("2026-12-01 09:00:00", "2026-12-01 09:00:04", {.channel = 2}),
      take("2026-12-01 09:01:00", "2026-12-01 09:01:04"),
      take("2026-12-01 09:01:00", "2026-12-01 09:01:04", {.channel = 2})},
     {{0, rfs::FileInUse, {{"2026-12-01 09:00:00", "2026-12-01 09:00:03"},
                           {"2026-12-01 09:01:00", "2026-12-01 09:01:03"}}},
      {1, rfs::FileInUse, {{"2026-12-01 09:00:00", "2026-12-01 09:00:03"},
                           {"2026-12-01 09:01:00", "2026-12-01 09:01:03"}}}}},
    {"new_file_starts_with_the_recordings_first_event", {},
     {take("2026-12-01 09:00:00", "2026-12-01 09:00:04"),
      take("2026-12-01 09:01:00", "2026-12-01 09:01:04", kNewFile),
      take("2026-12-01 09:02:00", "2026-12-01 09:02:04")},
     {{0, rfs::FileInUse, {{"2026-12-01 09:00:00", "2026-12-01 09:00:03"}}},
      {0, rfs::FileInUse, {{"2026-12-01 09:01:00", "2026-12-01 09:01:03"},
                           {"2026-12-01 09:02:00", "2026-12-01 09:02:03"}}}}},
    {"new_file_keeps_a_cut_recording_together", {},
     {take("2026-12-01 09:00:00", "2026-12-01 09:00:04"),
      take("2026-12-01 09:01:00", "2026-12-01 09:01:04", {.eventSeconds = 2, .newFile = true})},
     {{0, rfs::FileInUse, {{"2026-12-01 09:00:00", "2026-12-01 09:00:03"}}},
      {0, rfs::FileInUse, {{"2026-12-01 09:01:00", "2026-12-01 09:01:01"},
                           {"2026-12-01 09:01:02", "2026-12-01 09:01:03"}}}}},
    {"each_state_change_starts_a_file", {},
     {take("2026-12-01 09:00:00", "2026-12-01 09:00:04", {.fileState = rfs::FileEventsOnly}),
      take("2026-12-01 09:01:00", "2026-12-01 09:01:04", {.fileState = rfs::FileEventsOnly}),
      take("2026-12-01 09:02:00", "2026-12-01 09:02:04", {.fileState = rfs::FileNotSearched}),
      take("2026-12-01 09:03:00", "2026-12-01 09:03:04"),
      take("2026-12-01 09:04:00", "2026-12-01 09:04:04", {.fileState = rfs::FileRepaired})},
     {{0, rfs::FileEventsOnly, {{"2026-12-01 09:00:00", "2026-12-01 09:00:03"},
                                {"2026-12-01 09:01:00", "2026-12-01 09:01:03"}}},
      {0, rfs::FileNotSearched, {{"2026-12-01 09:02:00", "2026-12-01 09:02:03"}}},
      {0, rfs::FileInUse, {{"2026-12-01 09:03:00", "2026-12-01 09:03:03"}}},
      {0, rfs::FileRepaired, {{"2026-12-01 09:04:00", "2026-12-01 09:04:03"}}}}},
    {"writing_event_is_followed_by_later_recordings", {},
     {take("2026-12-01 09:00:00", "2026-12-01 09:00:04"),
      take("2026-12-01 09:01:00", "2026-12-01 09:01:04", kWriting),
      take("2026-12-01 09:02:00", "2026-12-01 09:02:04")},
     {{0, rfs::FileInUse, {{"2026-12-01 09:00:00", "2026-12-01 09:00:03"},
                           {"2026-12-01 09:01:00", "2026-12-01 09:01:03", rfs::kEventWritingMagic},
                           {"2026-12-01 09:02:00", "2026-12-01 09:02:03"}}}}},
    {"only_the_last_cut_event_is_still_writing", {},
     {take("2026-12-01 09:00:00", "2026-12-01 09:00:06",
           {.eventSeconds = 2, .ending = RecordingEnd::EventStillWriting})},
     {{0, rfs::FileInUse, {{"2026-12-01 09:00:00", "2026-12-01 09:00:01"},
                           {"2026-12-01 09:00:02", "2026-12-01 09:00:03"},
                           {"2026-12-01 09:00:04", "2026-12-01 09:00:05", rfs::kEventWritingMagic}}}}},
    {"under_a_second_gives_an_empty_event", {},
     {take("2026-12-01 09:00:00", "2026-12-01 09:00:01")},
     {{0, rfs::FileInUse, {{"2026-12-01 09:00:00", "2026-12-01 09:00:00"}}}}},
    // The file's day bits mark the start day only; expectConsistentDataFile holds them to that.
    {"event_across_midnight_stays_one", {},
     {take("2026-12-14 23:59:58", "2026-12-15 00:00:02")},
     {{0, rfs::FileInUse, {{"2026-12-14 23:59:58", "2026-12-15 00:00:01"}}}}},
};
// clang-format on

class EventPlacement : public StoreOfBothKinds<PlacementCase> {
protected:
    void SetUp() override {
        Scenario s;
        s.channels = 2;
        s.partitions = {{6, 0x0F}};
        s.video = tinyVideo();
        s.eventsPerFile = testCase().eventsPerFile;
        s.recordings = testCase().recordings;
        write(s);
    }
};

}  // namespace

TEST_P(EventPlacement, EventsLandInTheirFilesWithTheirStateAndMagic) {
    const WrittenStore s = store();
    const std::vector<ExpectedFile>& expected = testCase().files;
    ASSERT_EQ(manifest_.files.size(), expected.size());
    for (std::size_t f = 0; f < expected.size(); ++f) {
        const WrittenFile& file = manifest_.files[f];
        SCOPED_TRACE("file " + std::to_string(file.fileIndex));
        EXPECT_EQ(file.fileIndex, f) << "files are taken in order";
        const rfs::index_file_info record = s.fileRecord(file.partition, file.fileIndex);
        EXPECT_EQ(record.chn, expected[f].storeChannel);
        EXPECT_EQ(record.state, expected[f].state);
        EXPECT_EQ(file.state, expected[f].state);

        const auto events = s.events(file.partition, file.fileIndex);
        ASSERT_EQ(events.size(), expected[f].events.size());
        ASSERT_EQ(file.events.size(), expected[f].events.size());
        for (std::size_t e = 0; e < events.size(); ++e) {
            const ExpectedEvent& want = expected[f].events[e];
            SCOPED_TRACE("event " + std::to_string(e + 1));
            EXPECT_EQ(rfs::formatTime(rfs::unpackTime(events[e].start_time)), want.start);
            EXPECT_EQ(rfs::formatTime(rfs::unpackTime(events[e].end_time)), want.end);
            EXPECT_EQ(events[e].magic, want.magic);
            EXPECT_EQ(file.events[e].magic, want.magic);
        }
    }
}

TEST_P(EventPlacement, RecordsAgreeWithTheBytes) {
    const WrittenStore s = store();
    const DataFileLayout layout = dataFileLayout(s.param().dataFileSize, s.kind());
    for (const WrittenFile& file : manifest_.files) {
        SCOPED_TRACE("file " + std::to_string(file.fileIndex));
        expectConsistentDataFile(s.dataFile(file.partition, file.fileIndex), layout,
                                 s.fileRecord(file.partition, file.fileIndex),
                                 s.events(file.partition, file.fileIndex));
    }
}

// Where a reader's tests look for an event's thumbnail; a hard disk's events have none.
TEST_P(EventPlacement, ManifestNamesTheThumbnailsOfAnSdCard) {
    const WrittenStore s = store();
    const bool card = kind() == StoreKind::SdCard;
    EXPECT_EQ(manifest_.kind, kind());
    for (const WrittenFile& file : manifest_.files) {
        const auto events = s.events(file.partition, file.fileIndex);
        ASSERT_EQ(file.events.size(), events.size());
        for (std::size_t e = 0; e < events.size(); ++e) {
            const WrittenEvent& written = file.events[e];
            SCOPED_TRACE("file " + std::to_string(file.fileIndex) + " event " + std::to_string(e + 1));
            EXPECT_EQ(written.thumbnailOffset, card ? events[e].mobit_start : 0u);
            EXPECT_EQ(written.thumbnailLength, card ? events[e].mobit_end : 0u);
            EXPECT_EQ(written.mobitStart, card ? 0u : events[e].mobit_start);
            EXPECT_EQ(written.mobitEnd, card ? 0u : events[e].mobit_end);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, EventPlacement, ::testing::Combine(::testing::ValuesIn(kCases), bothStoreKinds()),
                         CaseAndKindName());
