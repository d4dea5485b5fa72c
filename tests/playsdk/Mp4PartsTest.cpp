// The pieces of the writer that a whole file does not show directly.
#include <gtest/gtest.h>

#include "CKVMP4RecordFile.h"
#include "DayChangeDetector.h"
#include "FrameRecords.h"
#include "NalUnits.h"
#include "TempDir.h"

namespace {

using kvplay::record::splitNalUnits;
using Bytes = std::vector<uint8_t>;

TEST(NalUnitsTest, SplitsAtThreeAndFourByteStartCodes) {
    const Bytes stream{0, 0, 0, 1, 0x67, 0xAA, 0, 0, 1, 0x68, 0xBB, 0, 0, 0, 1, 0x65, 0xCC, 0xDD, 0, 0, 1, 0x06, 0x80};
    const auto units = splitNalUnits(stream);
    ASSERT_EQ(units.size(), 4u);
    EXPECT_EQ(Bytes(units[0].begin(), units[0].end()), (Bytes{0x67, 0xAA}));
    EXPECT_EQ(Bytes(units[1].begin(), units[1].end()), (Bytes{0x68, 0xBB}));
    EXPECT_EQ(Bytes(units[2].begin(), units[2].end()), (Bytes{0x65, 0xCC, 0xDD}));
    EXPECT_EQ(Bytes(units[3].begin(), units[3].end()), (Bytes{0x06, 0x80}));
}

// The search passes over eight bytes at a time: a start code must be found wherever it lies against
// those blocks, zero bytes that start no code must not hide one, and the payload's tail is searched too.
TEST(NalUnitsTest, FindsStartCodesAtEveryPositionAgainstTheWordBlocks) {
    for (std::size_t size = 40; size < 48; ++size)
    for (std::size_t at = 2; at + 3 <= size; ++at) {
        Bytes stream(size, 0x5A);
        stream[0] = 0x41;
        if (at >= 3)
            stream[at - 2] = 0;  // a lone zero byte, which starts no code
        stream[at] = 0;
        stream[at + 1] = 0;
        stream[at + 2] = 1;
        const auto units = splitNalUnits(stream);
        ASSERT_EQ(units.size(), at + 3 < size ? 2u : 1u) << "code at " << at << " of " << size;
        EXPECT_EQ(units[0].data(), stream.data()) << "code at " << at << " of " << size;
        EXPECT_EQ(units[0].size(), at) << "code at " << at << " of " << size;
        if (units.size() == 2) {
            EXPECT_EQ(units[1].data(), stream.data() + at + 3) << "code at " << at << " of " << size;
        }
    }
}

TEST(NalUnitsTest, LengthPrefixedFormRefusesLengthsPastTheEnd) {
    EXPECT_EQ(kvplay::record::toAnnexB(Bytes{0, 0, 0, 2, 0x65, 0x88}), (Bytes{0, 0, 0, 1, 0x65, 0x88}));
    EXPECT_TRUE(kvplay::record::toAnnexB(Bytes{0, 0, 0, 3, 0x65, 0x88}).empty());
    EXPECT_TRUE(kvplay::record::toAnnexB(Bytes{0, 0, 0}).empty());
}

constexpr uint64_t kMidnightUs = 1'709'683'200'000'000;  // 2024-03-06 00:00:00

struct DayCase {
    const char* name;
    int64_t firstOffsetS;  // from midnight
    int frames;            // one a second
    int changedAt;         // index of the frame that reports the change, -1 for none
};

class DayChangeTest : public ::testing::TestWithParam<DayCase> {};

TEST_P(DayChangeTest, ReportsTheNewDayAtTheNextFifthFrame) {
    const DayCase& c = GetParam();
    kvplay::record::DayChangeDetector detector;
    for (int i = 0; i < c.frames; ++i) {
        const uint64_t time = kMidnightUs + static_cast<uint64_t>((c.firstOffsetS + i) * 1'000'000);
        EXPECT_EQ(detector.check(time), i == c.changedAt) << "frame " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Days, DayChangeTest,
                         ::testing::Values(
                             // Checks at frames 4 (remembers 23:59:54), 9 (23:59:59) and 14 (00:00:04).
                             DayCase{"AcrossMidnight", -10, 20, 14},
                             DayCase{"SameDay", 3600, 20, -1},
                             // The first check only remembers, even right after midnight.
                             DayCase{"StartingAfterMidnight", -2, 5, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Mp4WriterResultTest, WriteReportsTheDayChange) {
    TempDir dir;
    kvplay::record::CKVMP4RecordFile file;
    ASSERT_EQ(file.Open((dir.path() / "day.mp4").c_str(), false, 0, 0, true, nullptr), 0);
    const Bytes slice{0, 0, 0, 1, 0x65, 0x88, 0x84};
    for (int i = 0; i < 20; ++i) {
        const auto record = videoRecord(1, i == 0, i, kMidnightUs + static_cast<uint64_t>((i - 10) * 1'000'000), 160,
                                        96, slice);
        int length = static_cast<int>(record.size());
        EXPECT_EQ(file.WriteFrame(record.data(), length), i == 14 ? 2 : 0) << "frame " << i;
    }
    EXPECT_EQ(file.Close(), 0);
}

TEST(Mp4WriterResultTest, RefusesRecordsThatAreNotWhole) {
    TempDir dir;
    kvplay::record::CKVMP4RecordFile file;
    ASSERT_EQ(file.Open((dir.path() / "short.mp4").c_str(), false, 0, 0, true, nullptr), 0);
    const Bytes slice{0, 0, 0, 1, 0x65, 0x88, 0x84};
    auto record = videoRecord(1, true, 0, kStartUs, 160, 96, slice);
    int shortByOne = static_cast<int>(record.size()) - 1;
    EXPECT_EQ(file.WriteFrame(record.data(), shortByOne), -1);
    int headerOnly = static_cast<int>(rfs::kFrameHeaderSize) - 1;
    EXPECT_EQ(file.WriteFrame(record.data(), headerOnly), -1);
    record[0] = 'X';  // not a frame record
    int whole = static_cast<int>(record.size());
    EXPECT_EQ(file.WriteFrame(record.data(), whole), -1);
}

}  // namespace
