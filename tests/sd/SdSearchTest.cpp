// Searching SD cards: the card's event records, the count search, the day timeline, the class of
// cards a find_mode visits, and the card-wide queries.
#include <cstring>

#include "SdReaderFixture.h"

namespace {

using rfssim::StoreManifest;

class SdSearch : public SdReaderFixture {};

int total(int handle) {
    int count = 0;
    for (int slot = 0; slot < 8; ++slot) {
        rfs_sd_event_list_t list{};
        if (rfs_get_event(handle, slot, &list) == 0)
            count += list.count;
    }
    return count;
}

TEST_F(SdSearch, PerChannelListsCarryTheCardRecordFields) {
    rfssim::Recording first = recording(1, at(1, 10, 0), at(1, 10, 0, 30));
    first.eventSeconds = 10;
    rfssim::Recording flagged = recording(3, at(1, 11, 0), at(1, 11, 0, 10), rfs::RecMotion);
    flagged.flag = 2;
    StoreManifest manifest;
    ASSERT_EQ(attach(write(card({first, flagged}), "card", &manifest)), 0);

    int handle = -1;
    const std::vector<rfs_sd_event_t> events = listed(0, at(1, 0, 0), at(1, 23, 59), handle);
    const rfssim::WrittenFile& file = manifest.files.at(0);
    ASSERT_EQ(events.size(), file.events.size());
    ASSERT_EQ(events.size(), 3u);
    for (std::size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        const rfssim::WrittenEvent& written = file.events[i];
        EXPECT_EQ(events[i].event_idx, written.eventNo - 1);
        EXPECT_EQ(events[i].index, static_cast<int>(i));
        EXPECT_EQ(events[i].thumbnail_offset, written.thumbnailOffset);
        EXPECT_NE(written.thumbnailOffset, 0u);
        EXPECT_EQ(events[i].data_start, written.dataStart);
        EXPECT_EQ(events[i].kf_low, written.kfLow);
        EXPECT_EQ(rfs::packTime(events[i].start), rfs::packTime(written.start));
        EXPECT_EQ(events[i].marked, 0);
    }

    const std::vector<rfs_sd_event_t> marked = listed(2, at(1, 0, 0), at(1, 23, 59), handle);
    ASSERT_EQ(marked.size(), 1u);
    EXPECT_EQ(marked[0].marked, 1);  // byte 20 on a card
    EXPECT_EQ(marked[0].pass, 0);
    EXPECT_EQ(marked[0].chn, 2);

    rfs_sd_event_t next{};
    ASSERT_EQ(rfs_event_seek(handle, 0, &events[1].start, &events[2].end, 0), 0);
    ASSERT_EQ(rfs_get_current_event(handle, 0, &next), 0);
    EXPECT_EQ(next.event_idx, events[1].event_idx);
    ASSERT_EQ(rfs_get_next_event(handle, 0, &next), 0);
    EXPECT_EQ(next.event_idx, events[2].event_idx);
    EXPECT_EQ(next.thumbnail_offset, events[2].thumbnail_offset);
}

TEST_F(SdSearch, MergedSearchHandsOutCardRecords) {
    ASSERT_EQ(
        attach(write(card({recording(1, at(1, 10, 0), at(1, 10, 1)), recording(2, at(1, 9, 0), at(1, 9, 1))}), "card")),
        0);
    Search search(2, at(1, 0, 0), at(1, 23, 59), 8);
    rfs_sd_event_list_t merged{};
    const int handle = rfs_find_start(search.get(), &merged, 0);
    ASSERT_GE(handle, 0);
    ASSERT_EQ(merged.count, 2);
    EXPECT_EQ(merged.list[0].chn, 1);  // sorted by start
    EXPECT_EQ(merged.list[1].chn, 0);
    EXPECT_EQ(rfs_find_stop(handle), 0);
}

// Recordings on three days, one of them across midnight into the last day.
class SdCountSearch : public SdSearch {
protected:
    void SetUp() override {
        SdSearch::SetUp();
        ASSERT_EQ(attach(write(card({recording(1, at(5, 8, 0), at(5, 8, 1)), recording(1, at(7, 9, 0), at(7, 9, 1)),
                                     recording(1, at(8, 23, 59, 30), at(9, 0, 0, 30)),
                                     recording(2, at(9, 10, 0), at(9, 10, 1))}),
                               "card")),
                  0);
    }

    int countSearch(int num, rfs_time_t end = {}) {
        Search search(3, at(1, 0, 0), at(1, 0, 0), 8);
        search.param.find_mode = 4;
        search.param.end = end;
        return rfs_find_start(search.get(), nullptr, num);
    }
};

TEST_F(SdCountSearch, StepsBackWholeDaysUntilEnoughEventsAreListed) {
    struct Case {
        int num;
        int events;
    };
    // Day 9 holds the midnight event (listed once) and channel 2's; day 7 adds one, day 5 the last.
    for (const Case c : {Case{0, 2}, Case{2, 2}, Case{3, 3}, Case{4, 4}, Case{50, 4}}) {
        SCOPED_TRACE(c.num);
        const int handle = countSearch(c.num);
        ASSERT_GE(handle, 0);
        EXPECT_EQ(total(handle), c.events);
        rfs_find_stop(handle);
    }
}

TEST_F(SdCountSearch, EndTimeBoundsTheFirstDayAndItsRangeIsChecked) {
    const int handle = countSearch(0, rfs::toRfsTime(rfs::packTime(at(7, 12, 0))));
    ASSERT_GE(handle, 0);
    EXPECT_EQ(total(handle), 1);
    rfs_find_stop(handle);

    EXPECT_EQ(countSearch(100001), -1);
    EXPECT_TRUE(said("search num out of range. num = 100001\n"));
    EXPECT_EQ(countSearch(-1), -1);
    EXPECT_EQ(countSearch(1, rfs::toRfsTime(rfs::packTime(at(1, 12, 0)))), -1);
    EXPECT_TRUE(said("search time err\n"));
}

TEST_F(SdSearch, DayTimelineMarksTheHalfHoursOfEachRecordType) {
    ASSERT_EQ(attach(write(card({recording(1, at(1, 10, 10), at(1, 10, 40)),
                                 recording(2, at(1, 10, 20), at(1, 10, 25), rfs::RecMotion),
                                 recording(1, at(1, 23, 50), at(2, 0, 20), rfs::RecIo)}),
                           "card")),
              0);
    Search search(1, at(1, 0, 0), at(1, 23, 59, 59), 8);
    uint32_t slots[48];
    std::memset(slots, 0xee, sizeof slots);
    EXPECT_EQ(rfs_find_start(search.get(), slots, 0), 64);
    uint32_t expected[48] = {};
    expected[20] = rfs::RecNormal | rfs::RecMotion;  // 10:00..10:29
    expected[21] = rfs::RecNormal;                   // 10:30..10:59
    expected[47] = rfs::RecIo;                       // clipped at the span's end
    for (int s = 0; s < 48; ++s)
        EXPECT_EQ(slots[s], expected[s]) << "slot " << s;

    Search motionOnly(1, at(1, 0, 0), at(1, 23, 59, 59), 8, rfs::RecMotion);
    ASSERT_EQ(rfs_find_start(motionOnly.get(), slots, 0), 64);
    EXPECT_EQ(slots[20], rfs::RecMotion);
    EXPECT_EQ(slots[21], 0u);
    EXPECT_EQ(rfs_find_start(search.get(), nullptr, 0), -11);
}

TEST_F(SdSearch, FindModeChoosesNormalOrRedundantCards) {
    ASSERT_EQ(attach(write(card({recording(1, at(1, 10, 0), at(1, 10, 1))}), "normal"), 0, 0, 0), 0);
    ASSERT_EQ(attach(write(card({recording(1, at(1, 12, 0), at(1, 12, 1))}), "redundant"), 1, 1, 0), 0);
    struct Case {
        uint8_t findMode;
        std::vector<int> hours;
        int pass;
    };
    for (const Case& c : {Case{0, {10, 12}, -1}, Case{1, {10}, 0}, Case{2, {12}, 1}, Case{3, {}, -1}}) {
        SCOPED_TRACE(static_cast<int>(c.findMode));
        Search search(3, at(1, 0, 0), at(1, 23, 59), 8);
        search.param.find_mode = c.findMode;
        const int handle = rfs_find_start(search.get(), nullptr, 0);
        ASSERT_GE(handle, 0);
        rfs_sd_event_list_t list{};
        ASSERT_EQ(rfs_get_event(handle, 0, &list), 0);
        std::vector<int> hours;
        for (int i = 0; i < list.count; ++i) {
            hours.push_back(list.list[i].start.hour);
            if (c.pass >= 0) {
                EXPECT_EQ(list.list[i].pass, c.pass);
            }
        }
        EXPECT_EQ(hours, c.hours);
        rfs_find_stop(handle);
    }
}

TEST_F(SdSearch, ChannelsWithRecordingsAndTheRecordingSpan) {
    rfs_time_t start{};
    rfs_time_t end{};
    ASSERT_EQ(rfs_get_start_end_time(&start, &end), 0);
    EXPECT_EQ(rfs::packTime(start), 0u);
    EXPECT_EQ(rfs::packTime(end), 0u);
    EXPECT_EQ(rfs_get_start_end_time(nullptr, &end), -10);

    ASSERT_EQ(
        attach(write(card({recording(1, at(1, 10, 0), at(1, 10, 1)), recording(3, at(2, 8, 0), at(2, 8, 1))}), "card")),
        0);
    ASSERT_EQ(rfs_get_start_end_time(&start, &end), 0);
    EXPECT_EQ(rfs::unpackTime(rfs::packTime(start)), at(1, 10, 0));
    EXPECT_EQ(rfs::unpackTime(rfs::packTime(end)).day, 2);

    struct Case {
        rfs::CalendarTime from;
        rfs::CalendarTime to;
        uint8_t firstByte;
    };
    for (const Case& c : {Case{at(1, 0, 0), at(2, 23, 0), 0x05}, Case{at(1, 0, 0), at(1, 23, 0), 0x01},
                          Case{at(2, 9, 0), at(3, 0, 0), 0x00}}) {
        uint8_t bits[32];
        std::memset(bits, 0xff, sizeof bits);
        ASSERT_EQ(
            rfs_is_chn_have_record(bits, rfs::toRfsTime(rfs::packTime(c.from)), rfs::toRfsTime(rfs::packTime(c.to))),
            0);
        EXPECT_EQ(bits[0], c.firstByte);
        EXPECT_TRUE(std::all_of(bits + 1, bits + 32, [](uint8_t b) { return b == 0; }));
    }
}

}  // namespace
