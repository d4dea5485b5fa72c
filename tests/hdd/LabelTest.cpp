// Labels over stores written by the simulator, in both access modes: searches, the month search, adding,
// deleting and renaming, the rescan of an interrupted change, and the end of the area.
#include <array>
#include <filesystem>
#include <string>

#include "ReaderFixture.h"
#include "rfs/LabelRecords.h"

namespace {

namespace fs = std::filesystem;

const std::string k43(43, 'x');
const std::string k44(44, 'y');

rfssim::ScenarioLabel label(int channel, rfs::CalendarTime time, std::string name, bool deleted = false) {
    rfssim::ScenarioLabel l;
    l.channel = channel;
    l.time = time;
    l.name = std::move(name);
    l.value = static_cast<uint16_t>(channel * 100);
    l.deleted = deleted;
    return l;
}

rfssim::Scenario labelScenario(StoreLayout layout) {
    rfssim::Scenario s;
    s.layout = layout;
    s.channels = 2;
    s.video = tinyVideo();
    s.partitions = {rfssim::PartitionSettings{2, 0x0F}};
    s.recordings = {recording(1, at(1, 9, 0), at(1, 9, 0, 5))};
    s.labelList = {
        label(1, at(1, 9, 0), "front door"),         // 0
        label(2, at(1, 10, 0), "parcel"),            // 1
        label(1, at(3, 8, 0), "gate", true),         // 2, deleted
        label(1, at(5, 12, 0), k43),                 // 3
        label(2, at(5, 12, 0), k44),                 // 4, stored without a terminator
        label(1, at(30, 23, 0, 0, 11), "november"),  // 5
    };
    return s;
}

// The labels of one result slot as "channel name" lines.
std::vector<std::string> slotLabels(int slot) {
    rfs_label_list_t out{};
    EXPECT_EQ(rfs_get_label(slot, &out), 0);
    std::vector<std::string> lines;
    for (int i = 0; i < out.count; ++i) {
        const rfs_label_t& l = out.list[i];
        EXPECT_EQ(l.name[sizeof l.name - 1], '\0');
        lines.push_back(std::to_string(l.chn) + " " + l.name);
    }
    return lines;
}

class LabelTest : public ReaderFixture, public ::testing::WithParamInterface<StoreLayout> {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        writeStore(labelScenario(GetParam()));
    }

    void writeStore(const rfssim::Scenario& scenario) {
        store_ = write(scenario, "store");
        ASSERT_EQ(attach(store_), 0);
    }

    void reattach() {
        ASSERT_EQ(KVrfs_remove_disk_hdd(0), 0);
        ASSERT_EQ(attach(store_), 0);
    }

    fs::path areaFile() const { return store_.directory() ? store_.path / "label0" : store_.path; }
    uint64_t areaBase() const { return store_.directory() ? 0 : store_.param().label_offset; }
    rfs::label_head_t headOnMedium() const { return readRecord<rfs::label_head_t>(areaFile(), areaBase()); }
    rfs::label_info_t entryOnMedium(uint32_t n) const {
        return readRecord<rfs::label_info_t>(areaFile(), areaBase() + rfs::kLabelEntriesOffset + n * 64ull);
    }

    // Every label of December on channels 1 and 2, one slot per channel.
    std::pair<std::vector<std::string>, std::vector<std::string>> december(const char* pattern = "") {
        Search search(3, at(1, 0, 0), at(31, 23, 59, 59), 2);
        EXPECT_EQ(rfs_find_label_start(search.get(), pattern), 0);
        return {slotLabels(0), slotLabels(1)};
    }

    int32_t add(int channel, rfs::CalendarTime time, const char* name) {
        rfs_label_request_t request{};
        request.chn = static_cast<uint8_t>(channel);
        request.number = 0x1234;
        request.time = rfs::toRfsTime(rfs::packTime(time));
        request.name = name;
        return rfs_set_label(0, &request);
    }

    int32_t change(int operation, int32_t number, const char* name = nullptr) {
        rfs_label_request_t request{};
        request.disk_id = 0;
        request.number = number;
        request.name = name;
        return rfs_set_label(operation, &request);
    }

    TestStore store_;
};

}  // namespace

TEST_P(LabelTest, SearchesBySpanChannelAndText) {
    const std::string cut43 = k43.substr(0, 39);
    const std::string cut44 = k44.substr(0, 39);
    struct Case {
        const char* name;
        uint8_t searchType;
        rfs::CalendarTime from;
        rfs::CalendarTime to;
        int channels;
        const char* pattern;
        std::vector<std::string> slot0;
        std::vector<std::string> slot1;
    };
    const Case cases[] = {
        {"all of December", 3, at(1, 0, 0), at(31, 23, 59), 2, "", {"0 front door", "0 " + cut43}, {"1 parcel", "1 " + cut44}},
        {"a null pattern lists all", 3, at(1, 0, 0), at(31, 23, 59), 2, nullptr, {"0 front door", "0 " + cut43},
         {"1 parcel", "1 " + cut44}},
        {"by text", 3, at(1, 0, 0), at(31, 23, 59), 2, "door", {"0 front door"}, {}},
        {"text is case-sensitive", 3, at(1, 0, 0), at(31, 23, 59), 2, "Door", {}, {}},
        {"one channel", 3, at(1, 0, 0), at(31, 23, 59), 1, "", {"0 front door", "0 " + cut43}, {}},
        {"merged, equal times by channel", 2, at(1, 0, 0), at(31, 23, 59), 2, "",
         {"0 front door", "1 parcel", "0 " + cut43, "1 " + cut44}, {}},
        {"a deleted label is never listed", 3, at(2, 0, 0), at(4, 0, 0), 2, "", {}, {}},
        {"the span's ends are included", 3, at(1, 9, 0), at(1, 10, 0), 2, "", {"0 front door"}, {"1 parcel"}},
        {"the month before", 3, at(1, 0, 0, 0, 11), at(30, 23, 59, 59, 11), 2, "", {"0 november"}, {}},
    };
    for (const Case& c : cases) {
        Search search(c.searchType, c.from, c.to, c.channels);
        ASSERT_EQ(rfs_find_label_start(search.get(), c.pattern), 0) << c.name;
        EXPECT_EQ(slotLabels(0), c.slot0) << c.name;
        EXPECT_EQ(slotLabels(1), c.slot1) << c.name;
    }
    ASSERT_EQ(rfs_find_label_stop(), 0);
    EXPECT_TRUE(slotLabels(0).empty());
}

TEST_P(LabelTest, RefusesBadSearchArguments) {
    Search search(3, at(1, 0, 0), at(31, 23, 59), 2);
    search.get()->chnBit = nullptr;
    EXPECT_EQ(rfs_find_label_start(&search.param, ""), -1);
    rfs_label_list_t out{};
    EXPECT_EQ(rfs_get_label(64, &out), -22) << "slots stop at the channel limit";
    EXPECT_EQ(rfs_get_label(0, nullptr), -1);
}

TEST_P(LabelTest, MonthSearchMarksTheDaysWithNamedLabels) {
    struct Case {
        const char* name;
        rfs::CalendarTime month;
        int channels;
        std::vector<int> days;
    };
    const Case cases[] = {
        {"December", at(1, 0, 0), 2, {1, 5}},  // the deleted label of the 3rd does not count
        {"first channel only", at(15, 0, 0), 1, {1, 5}},
        {"November", at(1, 0, 0, 0, 11), 2, {30}},
        {"January", at(1, 0, 0, 0, 1, 2027), 2, {}},
    };
    for (const Case& c : cases) {
        Search search(0, c.month, c.month, c.channels);
        search.param.data_type = 2;
        uint32_t days[31];
        ASSERT_EQ(KVrfs_find_start_hdd(search.get(), days), 64) << c.name;
        std::vector<int> marked;
        for (int d = 0; d < 31; ++d)
            if (days[d] != 0)
                marked.push_back(d + 1);
        EXPECT_EQ(marked, c.days) << c.name;
    }
}

TEST_P(LabelTest, AddsAfterTheLastLabelAndFlagsTheAreaUntilTheNextAttach) {
    EXPECT_EQ(add(1, at(7, 7, 7), k43.c_str()), 6) << "disk 0, the number after the six written";
    EXPECT_EQ(add(0, at(7, 7, 8), k44.c_str()), -1) << "44 characters";
    EXPECT_EQ(add(0, at(7, 7, 8), nullptr), -1);
    EXPECT_EQ(headOnMedium().write_flag, 1u);
    const rfs::label_info_t stored = entryOnMedium(6);
    EXPECT_EQ(stored.magic, rfs::kLabelMagic);
    EXPECT_EQ(stored.value, 0x1234);
    EXPECT_EQ(entryOnMedium(7).magic, rfs::kLabelEndMagic);
    EXPECT_EQ(december("xxx").second, (std::vector<std::string>{"1 " + k43.substr(0, 39)}));

    reattach();
    EXPECT_EQ(headOnMedium().write_flag, 0u);
    EXPECT_EQ(headOnMedium().next_label, 7u);
    EXPECT_EQ(add(0, at(8, 8, 8), "after the rescan"), 7);
}

TEST_P(LabelTest, DeletesAndRenamesOnlyLabelsThatExist) {
    EXPECT_EQ(change(1, 0), 0);
    EXPECT_EQ(entryOnMedium(0).state, 2) << "the entry stays, marked deleted";
    EXPECT_EQ(change(2, 1, "courier"), 0);
    EXPECT_EQ(december().first, (std::vector<std::string>{"0 " + k43.substr(0, 39)}));
    EXPECT_EQ(december().second, (std::vector<std::string>{"1 courier", "1 " + k44.substr(0, 39)}));

    struct Case {
        const char* name;
        int operation;
        int32_t number;
        const char* newName;
    };
    const Case refused[] = {
        {"delete past the area", 1, 32768, nullptr},
        {"delete a negative number", 1, -1, nullptr},
        {"delete an empty slot", 1, 100, nullptr},
        {"delete the end marker's slot", 1, 6, nullptr},
        {"rename an empty slot", 2, 100, "x"},
        {"rename past the area", 2, 40000, "x"},
        {"rename to 44 characters", 2, 1, k44.c_str()},
        {"an unknown operation", 3, 1, "x"},
    };
    for (const Case& c : refused)
        EXPECT_EQ(change(c.operation, c.number, c.newName), -1) << c.name;
    EXPECT_EQ(entryOnMedium(6).magic, rfs::kLabelEndMagic) << "nothing was written by the refusals";
    EXPECT_STREQ(entryOnMedium(1).name, "courier");
}

TEST_P(LabelTest, TheLastEntryLeavesTheRestOfTheMediumAlone) {
    // A head that says the area is full up to its last entry.
    rfs::label_head_t head = headOnMedium();
    head.next_label = rfs::kMaxLabels - 1;
    writeRecord(areaFile(), areaBase(), head);
    reattach();
    // What lies behind the area: the end of the label file, or the next bytes of the disk.
    using Behind = std::array<uint8_t, 64>;
    const uint64_t behind = areaBase() + rfs::kLabelAreaSize;
    const uint64_t sizeBefore = fs::file_size(areaFile());
    const Behind bytesBefore = store_.directory() ? Behind{} : readRecord<Behind>(areaFile(), behind);

    EXPECT_EQ(add(0, at(9, 9, 9), "last"), static_cast<int32_t>(rfs::kMaxLabels - 1));
    EXPECT_EQ(add(0, at(9, 9, 10), "first again"), 0) << "the numbers start over";
    EXPECT_EQ(fs::file_size(areaFile()), sizeBefore);
    if (!store_.directory()) {
        EXPECT_EQ(readRecord<Behind>(areaFile(), behind), bytesBefore);
    }
    EXPECT_STREQ(entryOnMedium(0).name, "first again");
    EXPECT_EQ(entryOnMedium(1).magic, rfs::kLabelEndMagic);
}

TEST_P(LabelTest, AnInterruptedChangeIsRescannedAtAttach) {
    rfssim::Scenario s = labelScenario(GetParam());
    s.labelWriteFlag = true;
    KVrfs_remove_disk_hdd(0);
    store_ = write(s, "interrupted");
    ASSERT_EQ(headOnMedium().write_flag, 1u);
    ASSERT_EQ(attach(store_), 0);
    EXPECT_EQ(headOnMedium().write_flag, 0u);
    EXPECT_EQ(headOnMedium().next_label, 6u);
    EXPECT_EQ(december().first, (std::vector<std::string>{"0 front door", "0 " + k43.substr(0, 39)}));
    EXPECT_EQ(add(0, at(9, 9, 9), "next"), 6);
}

INSTANTIATE_TEST_SUITE_P(Layouts, LabelTest, ::testing::Values(StoreLayout::Directory, StoreLayout::RawImage));

TEST_F(ReaderFixture, AStoreWithoutLabelAreaRefusesLabels) {
    rfssim::Scenario s = labelScenario(StoreLayout::RawImage);
    s.labels = false;
    s.labelList.clear();
    const TestStore store = write(s, "store");
    ASSERT_EQ(attach(store), 0);
    rfs_label_request_t request{};
    request.name = "x";
    EXPECT_EQ(rfs_set_label(0, &request), -34);
    EXPECT_EQ(rfs_set_label(1, &request), -34);
    Search search(3, at(1, 0, 0), at(31, 23, 59), 2);
    EXPECT_EQ(rfs_find_label_start(search.get(), ""), 0);
    EXPECT_TRUE(slotLabels(0).empty());
}
