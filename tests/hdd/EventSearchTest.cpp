// Event and month searches over simulated stores, compared with what the simulator wrote.
#include <filesystem>
#include <map>
#include <tuple>

#include "ReaderFixture.h"
#include "SearchHandles.h"

namespace {

using rfs::CalendarTime;
using rfs::PackedTime;
namespace fs = std::filesystem;

// Three channels (store channels 0..2, second streams 3..5) recording on the 1st and the 31st.
rfssim::Scenario dayScenario() {
    rfssim::Scenario s;
    s.channels = 3;
    s.video = tinyVideo();
    s.subVideo = tinyVideo();
    s.partitions = {rfssim::PartitionSettings{16, 0x0F}};
    auto add = [&](rfssim::Recording r) { s.recordings.push_back(r); };

    rfssim::Recording cut = recording(1, at(1, 9, 0), at(1, 9, 2));
    cut.eventSeconds = 60;
    add(cut);                                                                // ch1: 09:00:00-09:00:59, 09:01:00-09:01:59
    add(recording(1, at(1, 9, 5), at(1, 9, 6), rfs::RecNormal | rfs::RecMotion));  // ch1: normal and motion
    rfssim::Recording marked = recording(2, at(1, 9, 0, 30), at(1, 9, 1, 30), rfs::RecIo);
    marked.flag = 2;
    add(marked);                                                             // ch2: io, marked
    add(recording(2, at(1, 9, 10), at(1, 9, 10, 1)));                         // ch2: empty (start == end)
    add(recording(3, at(1, 9, 0), at(1, 9, 0, 40)));                          // ch3: same start as ch1
    rfssim::Recording hidden = recording(3, at(1, 9, 3), at(1, 9, 3, 20));
    hidden.flag = 1;
    add(hidden);                                                             // ch3: never listed
    rfssim::Recording sub = recording(1, at(1, 9, 0), at(1, 9, 1));
    sub.stream = rfssim::StreamKind::Sub;
    add(sub);                                                                // store channel 3
    add(recording(3, at(31, 10, 0), at(31, 10, 0, 20)));                     // the 31st
    return s;
}

std::vector<rfs_event_t> listOf(int handle, int slot) {
    rfs_event_list_t out{};
    EXPECT_EQ(KVrfs_get_event_hdd(handle, slot, &out), 0);
    return std::vector<rfs_event_t>(out.list, out.list + out.count);
}

// Starts and end times of a list as text, which makes failures readable.
std::vector<std::string> spans(const std::vector<rfs_event_t>& list) {
    std::vector<std::string> out;
    for (const rfs_event_t& e : list)
        out.push_back(std::to_string(e.chn) + " " + rfs::formatTime(rfs::unpackTime(rfs::packTime(e.start))) + " " +
                      rfs::formatTime(rfs::unpackTime(rfs::packTime(e.end))));
    return out;
}

class EventSearch : public ReaderFixture {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        store_ = write(dayScenario(), "disk.img", &manifest_);
        ASSERT_EQ(attach(store_), 0);
    }

    int start(Search& search, void* out = nullptr) { return KVrfs_find_start_hdd(search.get(), out); }

    // What the store holds for a slot, as a search over [from, to] must list it.
    std::vector<rfs_event_t> expected(int channel, PackedTime from, PackedTime to) const {
        std::vector<rfs_event_t> list;
        for (const rfssim::WrittenFile& file : manifest_.files) {
            if (file.storeChannel != channel)
                continue;
            for (std::size_t k = 0; k < file.events.size(); ++k) {
                const rfssim::WrittenEvent& ev = file.events[k];
                const PackedTime s = rfs::packTime(ev.start);
                const PackedTime e = rfs::packTime(ev.end);
                if (ev.magic != rfs::kEventMagic || ev.flag == 1 || s > to || e < from)
                    continue;
                rfs_event_t out{};
                out.record_id = static_cast<uint32_t>(file.partition) << 16 | file.fileIndex;
                out.rec_type = ev.recType;
                out.chn = static_cast<uint8_t>(channel);
                out.marked = ev.flag == 2;
                out.start = rfs::toRfsTime(s);
                out.end = rfs::toRfsTime(e);
                out.data_start = ev.dataStart;
                out.data_len = ev.dataLen;
                out.kf_top = ev.kfTop;
                out.kf_low = ev.kfLow;
                out.event_idx = static_cast<int32_t>(k);
                list.push_back(out);
            }
        }
        std::stable_sort(list.begin(), list.end(), [](const rfs_event_t& a, const rfs_event_t& b) {
            return rfs::packTime(a.start) < rfs::packTime(b.start);
        });
        return list;
    }

    TestStore store_;
    rfssim::StoreManifest manifest_;
};

auto fields(const rfs_event_t& e) {
    return std::make_tuple(e.record_id, e.rec_type, e.chn, e.marked, rfs::packTime(e.start), rfs::packTime(e.end),
                           e.data_start, e.data_len, e.kf_top, e.kf_low, e.event_idx);
}

}  // namespace

TEST_F(EventSearch, ListsEachChannelAsTheStoreHoldsIt) {
    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 6);
    const int handle = start(search);
    ASSERT_GE(handle, 0);
    ASSERT_LT(handle, 64);
    const PackedTime from = rfs::packTime(at(1, 0, 0));
    const PackedTime to = rfs::packTime(at(1, 23, 59, 59));
    for (int slot = 0; slot < 6; ++slot) {
        const std::vector<rfs_event_t> listed = listOf(handle, slot);
        const std::vector<rfs_event_t> wanted = expected(slot, from, to);
        ASSERT_EQ(spans(listed), spans(wanted)) << "slot " << slot;
        for (std::size_t i = 0; i < listed.size(); ++i) {
            EXPECT_EQ(fields(listed[i]), fields(wanted[i])) << "slot " << slot << " #" << i;
            EXPECT_EQ(listed[i].index, static_cast<int>(i));
            EXPECT_EQ(listed[i].handle, handle);
            EXPECT_EQ(listed[i].slot, slot);
            EXPECT_EQ(listed[i].pass, 0);
        }
    }
    // The hidden event and the one on the 31st are not there; the marked one is.
    EXPECT_EQ(listOf(handle, 0).size(), 3u);
    EXPECT_EQ(listOf(handle, 2).size(), 1u);
    EXPECT_EQ(listOf(handle, 1)[0].marked, 1);
    EXPECT_EQ(KVrfs_find_stop_hdd(handle), 0);
    rfs_event_list_t out{};
    EXPECT_EQ(KVrfs_get_event_hdd(handle, 0, &out), -18);
}

TEST_F(EventSearch, MergedSearchSortsByStartThenChannel) {
    Search search(2, at(1, 0, 0), at(1, 23, 59, 59), 3);
    rfs_event_list_t out{};
    const int handle = start(search, &out);
    ASSERT_GE(handle, 0);
    const std::vector<rfs_event_t> merged = listOf(handle, 0);
    EXPECT_EQ(out.list, merged.empty() ? nullptr : out.list);
    ASSERT_EQ(out.count, static_cast<int>(merged.size()));
    ASSERT_EQ(merged.size(), 6u);
    for (std::size_t i = 1; i < merged.size(); ++i) {
        const auto before = std::make_pair(rfs::packTime(merged[i - 1].start), merged[i - 1].chn);
        const auto after = std::make_pair(rfs::packTime(merged[i].start), merged[i].chn);
        EXPECT_LT(before, after) << i;
    }
    EXPECT_EQ(merged[0].chn, 0);  // 09:00:00 on channels 1 and 3
    EXPECT_EQ(merged[1].chn, 2);
    for (int slot = 1; slot < 6; ++slot)
        EXPECT_TRUE(listOf(handle, slot).empty());
}

TEST_F(EventSearch, FiltersByRecordType) {
    struct Case {
        const char* what;
        int32_t mask;
        std::vector<uint32_t> integrated;
        std::map<int, int> countPerSlot;
    };
    const Case cases[] = {
        {"all", -1, {}, {{0, 3}, {1, 2}, {2, 1}, {3, 1}}},
        {"normal", rfs::RecNormal, {}, {{0, 3}, {1, 1}, {2, 1}, {3, 1}}},
        {"motion", rfs::RecMotion, {}, {{0, 1}}},
        {"io", rfs::RecIo, {}, {{1, 1}}},
        {"both bits of an integrated type", 0, {rfs::RecNormal | rfs::RecMotion}, {{0, 1}}},
        {"integrated io", 0, {rfs::RecIo}, {{1, 1}}},
        {"nothing", 0, {}, {}},
    };
    for (const Case& c : cases) {
        Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 6, c.mask);
        search.integrated = c.integrated;
        const int handle = start(search);
        ASSERT_GE(handle, 0) << c.what;
        for (int slot = 0; slot < 6; ++slot) {
            const auto wanted = c.countPerSlot.count(slot) ? c.countPerSlot.at(slot) : 0;
            EXPECT_EQ(static_cast<int>(listOf(handle, slot).size()), wanted) << c.what << " slot " << slot;
        }
        KVrfs_find_stop_hdd(handle);
    }
}

TEST_F(EventSearch, FiltersByTimeSpanAndChannel) {
    struct Case {
        const char* what;
        CalendarTime from;
        CalendarTime to;
        int channels;
        std::vector<std::string> slot0;
        std::vector<std::string> slot1;
    };
    const Case cases[] = {
        {"inside two events", at(1, 9, 1, 10), at(1, 9, 1, 20), 3, {"0 2026-12-01 09:01:00 2026-12-01 09:01:59"},
         {"1 2026-12-01 09:00:30 2026-12-01 09:01:29"}},
        {"touching an end", at(1, 9, 0, 59), at(1, 9, 0, 59), 1,
         {"0 2026-12-01 09:00:00 2026-12-01 09:00:59"}, {}},
        {"before everything", at(1, 8, 0), at(1, 8, 30), 3, {}, {}},
        {"reversed span", at(1, 9, 1, 20), at(1, 9, 1, 10), 3, {}, {}},
        {"channel 1 only", at(1, 0, 0), at(1, 23, 59, 59), 1,
         {"0 2026-12-01 09:00:00 2026-12-01 09:00:59", "0 2026-12-01 09:01:00 2026-12-01 09:01:59",
          "0 2026-12-01 09:05:00 2026-12-01 09:05:59"},
         {}},
    };
    for (const Case& c : cases) {
        Search search(3, c.from, c.to, c.channels);
        const int handle = start(search);
        ASSERT_GE(handle, 0) << c.what;
        EXPECT_EQ(spans(listOf(handle, 0)), c.slot0) << c.what;
        EXPECT_EQ(spans(listOf(handle, 1)), c.slot1) << c.what;
        KVrfs_find_stop_hdd(handle);
    }
}

TEST_F(EventSearch, SkipsEmptyEventsWhenAsked) {
    Search search(3, at(1, 9, 9), at(1, 9, 11), 3);
    int handle = start(search);
    EXPECT_EQ(spans(listOf(handle, 1)), std::vector<std::string>{"1 2026-12-01 09:10:00 2026-12-01 09:10:00"});
    KVrfs_find_stop_hdd(handle);
    search.param.skip_empty = 1;
    handle = start(search);
    EXPECT_TRUE(listOf(handle, 1).empty());
}

TEST_F(EventSearch, MonthSearchReadsDayMasks) {
    struct Case {
        int32_t mask;
        int channels;
        uint32_t day1;
        uint32_t day31;
    };
    const Case cases[] = {
        {-1, 6, rfs::RecNormal | rfs::RecMotion | rfs::RecIo, rfs::RecNormal},
        {rfs::RecMotion, 6, rfs::RecMotion, 0},
        {-1, 2, rfs::RecNormal | rfs::RecMotion | rfs::RecIo, 0},
        {rfs::RecIo, 1, 0, 0},
    };
    for (const Case& c : cases) {
        Search search(0, at(15, 0, 0), at(15, 0, 0), c.channels, c.mask);
        uint32_t days[31];
        std::fill(std::begin(days), std::end(days), 0xdeadbeef);
        ASSERT_EQ(start(search, days), 64);
        for (int d = 0; d < 31; ++d) {
            const uint32_t wanted = d == 0 ? c.day1 : d == 30 ? c.day31 : 0;
            EXPECT_EQ(days[d], wanted) << "day " << d + 1 << " mask " << c.mask << " channels " << c.channels;
        }
    }
    Search november(0, at(15, 0, 0, 0, 11), at(15, 0, 0, 0, 11), 6);
    uint32_t days[31];
    ASSERT_EQ(start(november, days), 64);
    EXPECT_TRUE(std::all_of(std::begin(days), std::end(days), [](uint32_t d) { return d == 0; }));
}

TEST_F(EventSearch, RefusesBadRequests) {
    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 6);
    EXPECT_EQ(KVrfs_find_start_hdd(nullptr, nullptr), -11);
    search.param.search_type = 2;
    EXPECT_EQ(start(search), -11) << "merged search without out";
    search.param.search_type = 1;
    EXPECT_EQ(start(search), -11) << "no search without out";
    int dummy[2];
    EXPECT_EQ(start(search, dummy), 64);
    search.param.search_type = 0;
    EXPECT_EQ(start(search), -11) << "month search without out";
    search.param.search_type = 4;
    EXPECT_EQ(start(search, dummy), -19);

    search.param.search_type = 3;
    const int handle = start(search);
    rfs_event_list_t out{};
    EXPECT_EQ(KVrfs_get_event_hdd(64, 0, &out), -4);
    EXPECT_EQ(KVrfs_get_event_hdd(-1, 0, &out), -4);
    EXPECT_EQ(KVrfs_get_event_hdd(handle, 128, &out), -22);
    EXPECT_EQ(KVrfs_get_event_hdd(handle, -1, &out), -22);
    EXPECT_EQ(KVrfs_get_event_hdd(handle, 0, nullptr), -11);
    EXPECT_EQ(KVrfs_get_event_hdd(handle == 0 ? 1 : 0, 0, &out), -18);
    EXPECT_EQ(KVrfs_find_stop_hdd(64), 0);
    EXPECT_EQ(KVrfs_find_stop_hdd(handle == 0 ? 1 : 0), 0);
}

TEST_F(EventSearch, RunsOutOfHandlesAt64) {
    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 6);
    search.param.find_mode = 4;  // a handle without a search
    for (int h = 0; h < 64; ++h)
        ASSERT_EQ(start(search), h);
    EXPECT_EQ(start(search), -17);
    EXPECT_EQ(KVrfs_find_stop_hdd(17), 0);
    EXPECT_EQ(start(search), 17);
}

TEST_F(EventSearch, SkipsABadPartition) {
    rfs::part_info_t bad = store_.partInfo(0, 0);
    bad.state = 2;
    store_.setPartInfo(0, 0, bad);
    ASSERT_EQ(attach(store_), 0);
    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 6);
    const int handle = start(search);
    ASSERT_GE(handle, 0);
    EXPECT_TRUE(listOf(handle, 0).empty());
    EXPECT_TRUE(said("disk0 part0 is err\n"));
}

TEST_F(EventSearch, SearchesRedundantDisksSecondAndAddsOnlyWhatIsNotCovered) {
    rfssim::Scenario redundant = dayScenario();
    redundant.recordings = {
        recording(1, at(1, 9, 0, 10), at(1, 9, 0, 40)),  // inside 09:00:00-09:00:59 on the normal disk
        recording(1, at(1, 9, 0), at(1, 9, 1, 30)),      // runs past it
        recording(2, at(1, 9, 20), at(1, 9, 21)),        // nothing on the normal disk
    };
    const TestStore second = write(redundant, "redundant.img");
    ASSERT_EQ(attach(second, 1, 1, 0), 0);
    ASSERT_EQ(attach(second, 2, 0, 26), 0);  // a group no search visits

    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 3);
    const int handle = start(search);
    const std::vector<rfs_event_t> ch1 = listOf(handle, 0);
    EXPECT_EQ(spans(ch1), (std::vector<std::string>{"0 2026-12-01 09:00:00 2026-12-01 09:00:59",
                                                    "0 2026-12-01 09:00:00 2026-12-01 09:01:29",
                                                    "0 2026-12-01 09:01:00 2026-12-01 09:01:59",
                                                    "0 2026-12-01 09:05:00 2026-12-01 09:05:59"}));
    EXPECT_EQ(ch1[0].pass, 0);
    EXPECT_EQ(ch1[1].pass, 1);
    EXPECT_EQ(ch1[1].record_id >> 24, 1u);
    const std::vector<rfs_event_t> ch2 = listOf(handle, 1);
    ASSERT_EQ(ch2.size(), 3u);
    EXPECT_EQ(ch2[2].pass, 1);
    EXPECT_TRUE(said("disk[2] is in valid disk group[-1]\n"));
}

TEST_F(EventSearch, StopsListingAt100000Events) {
    // An index whose 400 file records each list 256 copies of one real event.
    rfssim::Scenario big;
    big.channels = 1;
    big.video = tinyVideo();
    big.partitions = {rfssim::PartitionSettings{400, 0x0F}};
    big.recordings = {recording(1, at(1, 9, 0), at(1, 9, 0, 10))};
    const TestStore s = write(big, "big.img");
    const rfs::disk_param_t p = s.param();
    const uint64_t area = s.indexArea(0, 0);
    const auto file0 = readRecord<rfs::index_file_info>(s.path, area + p.file_table_offset);
    const auto event0 = readRecord<rfs::index_event_info>(s.path, area + p.event_table_offset);
    std::vector<rfs::index_event_info> block(256, event0);
    for (uint32_t f = 0; f < 400; ++f) {
        rfs::index_file_info file = file0;
        file.file_no = static_cast<uint16_t>(f + 1);
        file.event_nr = 256;
        writeRecord(s.path, area + p.file_table_offset + f * sizeof file, file);
        std::fstream out(s.path, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(static_cast<std::streamoff>(area + rfs::eventBlockOffset(p.event_table_offset, f, 256)));
        out.write(reinterpret_cast<const char*>(block.data()), block.size() * sizeof(block[0]));
    }
    ASSERT_EQ(attach(s, 3), 0);
    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 1);
    const int handle = start(search);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(listOf(handle, 0).size(), 100000u);
}

TEST_F(EventSearch, WalksTheListWithTheCursor) {
    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 6);
    const int handle = start(search);
    rfs_event_t e{};
    auto startOf = [](const rfs_event_t& ev) { return rfs::formatTime(rfs::unpackTime(rfs::packTime(ev.start))); };

    EXPECT_EQ(KVrfs_get_current_event_hdd(handle, 0, &e), -28) << "no cursor before a move";
    ASSERT_EQ(KVrfs_get_next_event_hdd(handle, 0, &e), 0);
    EXPECT_EQ(startOf(e), "2026-12-01 09:00:00");
    ASSERT_EQ(KVrfs_get_next_event_hdd(handle, 0, &e), 0);
    ASSERT_EQ(KVrfs_get_next_event_hdd(handle, 0, &e), 0);
    EXPECT_EQ(startOf(e), "2026-12-01 09:05:00");
    EXPECT_EQ(KVrfs_get_next_event_hdd(handle, 0, &e), -26);
    EXPECT_EQ(KVrfs_get_next_event_hdd(handle, 0, &e), -26);
    EXPECT_EQ(KVrfs_get_current_event_hdd(handle, 0, &e), -28) << "the cursor stays past the end";
    ASSERT_EQ(KVrfs_get_pre_event_hdd(handle, 0, &e), 0);
    EXPECT_EQ(startOf(e), "2026-12-01 09:05:00");
    ASSERT_EQ(KVrfs_get_current_event_hdd(handle, 0, &e), 0);
    EXPECT_EQ(startOf(e), "2026-12-01 09:05:00");

    EXPECT_EQ(KVrfs_get_pre_event_hdd(handle, 0, nullptr), -11);
    ASSERT_EQ(KVrfs_get_current_event_hdd(handle, 0, &e), 0) << "a refused move leaves the cursor";
    EXPECT_EQ(startOf(e), "2026-12-01 09:05:00");

    // A record marked invalid is stepped over both ways.
    rfs_event_list_t list{};
    ASSERT_EQ(KVrfs_get_event_hdd(handle, 0, &list), 0);
    list.list[1].invalid = 1;
    ASSERT_EQ(KVrfs_get_pre_event_hdd(handle, 0, &e), 0);
    EXPECT_EQ(startOf(e), "2026-12-01 09:00:00");
    EXPECT_EQ(KVrfs_get_pre_event_hdd(handle, 0, &e), -27);
    ASSERT_EQ(KVrfs_get_next_event_hdd(handle, 0, &e), 0);
    EXPECT_EQ(startOf(e), "2026-12-01 09:00:00");
    ASSERT_EQ(KVrfs_get_next_event_hdd(handle, 0, &e), 0);
    EXPECT_EQ(startOf(e), "2026-12-01 09:05:00");
}

TEST_F(EventSearch, CursorCallsCheckTheirArguments) {
    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 6);
    const int handle = start(search);
    rfs_event_t e{};
    const rfs_time_t t = rfs::toRfsTime(rfs::packTime(at(1, 9, 0)));
    struct Case {
        const char* what;
        int handle;
        int slot;
        int32_t cursorResult;
        int32_t seekResult;
    };
    const Case cases[] = {
        {"handle above 63", 64, 0, -18, -4},
        {"slot above the channel limit", handle, 64, -22, -22},
        {"negative slot", handle, -1, -22, -22},
        {"free handle", handle + 1, 0, -18, -18},
        {"empty list", handle, 5, -20, -20},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KVrfs_get_current_event_hdd(c.handle, c.slot, &e), c.cursorResult) << c.what;
        EXPECT_EQ(KVrfs_get_next_event_hdd(c.handle, c.slot, &e), c.cursorResult) << c.what;
        EXPECT_EQ(KVrfs_get_pre_event_hdd(c.handle, c.slot, &e), c.cursorResult) << c.what;
        EXPECT_EQ(KVrfs_event_seek_hdd(c.handle, c.slot, &t, &t, 0), c.seekResult) << c.what;
    }
}

TEST_F(EventSearch, SeeksToTheEventRunningAtATime) {
    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 6);
    const int handle = start(search);
    struct Case {
        CalendarTime from;
        CalendarTime to;
        int mode;
        int32_t result;
        const char* start;
    };
    const Case cases[] = {
        {at(1, 9, 1, 30), at(1, 23, 59, 59), 0, 0, "2026-12-01 09:01:00"},
        {at(1, 9, 0), at(1, 23, 59, 59), 0, 0, "2026-12-01 09:00:00"},
        {at(1, 9, 3), at(1, 23, 59, 59), 0, 0, "2026-12-01 09:05:00"},
        {at(1, 8, 0), at(1, 23, 59, 59), 0, 0, "2026-12-01 09:00:00"},
        {at(1, 9, 30), at(1, 23, 59, 59), 0, -21, ""},
        {at(1, 9, 3), at(1, 9, 4), 0, -21, ""},
        {at(1, 9, 0), at(1, 9, 4), 1, 0, "2026-12-01 09:01:00"},
        {at(1, 9, 0), at(1, 9, 5, 30), 1, 0, "2026-12-01 09:05:00"},
        {at(1, 9, 2, 30), at(1, 9, 4), 1, -21, ""},
    };
    for (const Case& c : cases) {
        const rfs_time_t from = rfs::toRfsTime(rfs::packTime(c.from));
        const rfs_time_t to = rfs::toRfsTime(rfs::packTime(c.to));
        ASSERT_EQ(KVrfs_event_seek_hdd(handle, 0, &from, &to, c.mode), c.result) << rfs::formatTime(c.from);
        if (c.result != 0)
            continue;
        rfs_event_t e{};
        ASSERT_EQ(KVrfs_get_current_event_hdd(handle, 0, &e), 0);
        EXPECT_EQ(rfs::formatTime(rfs::unpackTime(rfs::packTime(e.start))), c.start) << rfs::formatTime(c.from);
    }
}

TEST_F(EventSearch, SeekLooksBackAnHourButNotPastMidnight) {
    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 6);
    const int handle = start(search);
    struct Case {
        CalendarTime seek;
        const char* lookBack;
    };
    const Case cases[] = {{at(1, 13, 10), "2026-12-01 12:10:00"},
                          {at(1, 0, 30), "2026-12-01 00:00:00"},
                          {at(1, 1, 0), "2026-12-01 00:00:00"},
                          {at(1, 9, 1, 30), "2026-12-01 08:01:30"}};
    for (const Case& c : cases) {
        const rfs_time_t t = rfs::toRfsTime(rfs::packTime(c.seek));
        KVrfs_event_seek_hdd(handle, 0, &t, &t, 0);
        EXPECT_TRUE(said(std::string("find_start_time:[") + c.lookBack + "]\n")) << c.lookBack;
    }
}

using FileStates = ReaderFixture;

TEST_F(FileStates, DecideWithUnfinishedEventsWhatIsListed) {
    rfssim::Scenario s;
    s.channels = 1;
    s.video = tinyVideo();
    auto inState = [](rfssim::Recording r, rfs::FileState state) {
        r.fileState = state;
        return r;
    };
    rfssim::Recording writing = recording(1, at(4, 9, 0), at(4, 9, 1));
    writing.ending = rfssim::RecordingEnd::EventStillWriting;
    writing.newFile = true;
    s.recordings = {
        inState(recording(1, at(2, 9, 0), at(2, 9, 1)), rfs::FileEventsOnly),
        inState(recording(1, at(3, 9, 0), at(3, 9, 1)), rfs::FileNotSearched),
        writing,
        recording(1, at(4, 9, 2), at(4, 9, 3)),  // behind the event still being written, in the same block
        inState(recording(1, at(5, 9, 0), at(5, 9, 1)), rfs::FileRepaired),
    };
    ASSERT_EQ(attach(write(s, "states.img")), 0);

    Search search(3, at(1, 0, 0), at(6, 0, 0), 1);
    const int handle = KVrfs_find_start_hdd(search.get(), nullptr);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(spans(listOf(handle, 0)), (std::vector<std::string>{"0 2026-12-02 09:00:00 2026-12-02 09:00:59",
                                                                  "0 2026-12-05 09:00:00 2026-12-05 09:00:59"}));

    // The month view leaves out files in state 2 and 3; day masks still show the file being written.
    Search month(0, at(1, 0, 0), at(1, 0, 0), 1);
    uint32_t days[31];
    ASSERT_EQ(KVrfs_find_start_hdd(month.get(), days), 64);
    EXPECT_EQ(days[1], 0u);
    EXPECT_EQ(days[2], 0u);
    EXPECT_EQ(days[3], rfs::RecNormal);
    EXPECT_EQ(days[4], rfs::RecNormal);
}

using DamagedIndex = ReaderFixture;

TEST_F(DamagedIndex, IndexFilesThatVanishOrShrinkAfterAttachFailTheSearch) {
    rfssim::Scenario s = dayScenario();
    s.layout = StoreLayout::Directory;
    const TestStore store = write(s, "folder");
    ASSERT_EQ(attach(store), 0);
    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 6);

    const rfs::disk_param_t p = store.param();
    fs::resize_file(store.indexFile(0), p.part_start[0] + p.file_table_offset + 100);
    EXPECT_EQ(KVrfs_find_start_hdd(search.get(), nullptr), -14);
    EXPECT_TRUE(said("kv_read err\n"));
    uint32_t days[31];
    Search month(0, at(1, 0, 0), at(1, 0, 0), 6);
    EXPECT_EQ(KVrfs_find_start_hdd(month.get(), days), -14);

    fs::remove(store.indexFile(0));
    EXPECT_EQ(KVrfs_find_start_hdd(search.get(), nullptr), -13);
    EXPECT_EQ(KVrfs_find_start_hdd(month.get(), days), -13);
}
