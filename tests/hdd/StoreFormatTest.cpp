// The pure rules of the store format: times, check sum, copy choice, data file location, frame records.
#include <gtest/gtest.h>

#include <cstdlib>

#include "rfs/DiskParam.h"
#include "rfs/FrameRecord.h"
#include "rfs/PackedTime.h"

using namespace rfs;

TEST(PackedTime, PacksFieldsIntoTheirBits) {
    const CalendarTime t{2021, 12, 31, 23, 59, 59};
    EXPECT_EQ(packTime(t), 0x573f7efbu);
    EXPECT_EQ(unpackTime(0x573f7efbu), t);
    EXPECT_GT(packTime(t), packTime(CalendarTime{2021, 12, 30, 23, 59, 59}));
    EXPECT_EQ(unpackTime(packTime(CalendarTime{2063, 1, 1, 0, 0, 0})).year, 2063);
}

TEST(PackedTime, RoundTripsThroughTheExchangedRecord) {
    const rfs_time_t t = toRfsTime(packTime(CalendarTime{2026, 12, 1, 9, 5, 7}));
    EXPECT_EQ(t.year, 26);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.hour, 9);
    EXPECT_EQ(t.minute, 5);
    EXPECT_EQ(t.second, 7);
    EXPECT_EQ(packTime(t), packTime(CalendarTime{2026, 12, 1, 9, 5, 7}));
}

TEST(PackedTime, ParsesOnlyRealStorableTimes) {
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {"2026-12-01 09:00:00", true},  {"2026-02-29 00:00:00", false}, {"1999-12-31 23:59:59", false},
        {"2064-01-01 00:00:00", false}, {"2026-12-01 24:00:00", false}, {"2026-12-01 09:00", false},
        {"2026-12-01 09:00:00x", false}, {"2024-02-29 12:00:00", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseTime(c.text).has_value(), c.valid) << c.text;
    EXPECT_EQ(formatTime(*parseTime("2026-12-01 09:00:05")), "2026-12-01 09:00:05");
}

TEST(PackedTime, EpochConversionIgnoresTheLocalZone) {
    setenv("TZ", "Asia/Seoul", 1);
    tzset();
    EXPECT_EQ(formatTime(fromEpochSeconds(0)), "1970-01-01 00:00:00");
    EXPECT_EQ(toEpochSeconds(CalendarTime{1970, 1, 2, 0, 0, 0}), 86400);
    unsetenv("TZ");
    tzset();
}

namespace {

disk_param_t validBlock() {
    disk_param_t p{};
    p.magic = kDiskMagic;
    p.version_lo = 3;
    p.version_hi = 2;
    p.part_count = 1;
    p.check_sum = diskParamCheckSum(p);
    return p;
}

}  // namespace

TEST(DiskParam, AcceptsOnlyMagicVersionAndCheckSum) {
    struct Case {
        const char* what;
        void (*damage)(disk_param_t&);
        bool valid;
    };
    const Case cases[] = {
        {"intact", [](disk_param_t&) {}, true},
        {"check sum off by one", [](disk_param_t& p) { p.check_sum ^= 1; }, false},
        {"wrong magic", [](disk_param_t& p) { p.magic = 0x12345678; p.check_sum = diskParamCheckSum(p); }, false},
        {"card store version 4", [](disk_param_t& p) { p.version_lo = 4; p.check_sum = diskParamCheckSum(p); }, false},
        {"older version 2", [](disk_param_t& p) { p.version_lo = 2; p.check_sum = diskParamCheckSum(p); }, false},
        {"reserved byte changed without new sum", [](disk_param_t& p) { p.reserved36[3] = 7; }, false},
        {"free files are part of the sum", [](disk_param_t& p) { p.free_files = 5; p.check_sum = diskParamCheckSum(p); }, true},
    };
    for (const Case& c : cases) {
        disk_param_t p = validBlock();
        c.damage(p);
        EXPECT_EQ(isValidDiskParam(p), c.valid) << c.what;
    }
}

TEST(DiskParam, CheckSumLeavesItselfOut) {
    disk_param_t p = validBlock();
    const uint32_t sum = diskParamCheckSum(p);
    p.check_sum = 0xdeadbeef;
    EXPECT_EQ(diskParamCheckSum(p), sum);
}

TEST(DiskParam, ChoosesTheTwoLowestValidCopies) {
    struct Case {
        uint8_t bits;
        int primary;
        int secondary;
    };
    const Case cases[] = {{0x0F, 0, 1}, {0x0A, 1, 3}, {0x0C, 2, 3}, {0xF5, 0, 2}};
    for (const Case& c : cases) {
        const auto choice = chooseIndexCopies(c.bits);
        ASSERT_TRUE(choice) << int(c.bits);
        EXPECT_EQ(choice->primary, c.primary) << int(c.bits);
        EXPECT_EQ(choice->secondary, c.secondary) << int(c.bits);
    }
    for (uint8_t bits : {0x00, 0x04, 0x10, 0xF8})
        EXPECT_FALSE(chooseIndexCopies(bits)) << int(bits);
}

TEST(DiskParam, LocatesDataFiles) {
    struct Case {
        uint32_t dataFileSize;
        uint32_t dataOffset;
        uint32_t fileIndex;
        uint64_t expected;
        uint32_t mediaStartExpected;
    };
    constexpr uint64_t start = 0x100000000ull;  // 4 GiB: sums must not wrap at 32 bits
    const Case cases[] = {
        {0x20000000, 0, 0, start, 0x800000},
        {0x20000000, 0, 3, start + 3ull * 0x20000000, 0x800000},
        {0, 0, 0, start + 0x20000000, 0x200000},
        {0, 0, 2, start + 0x20000000 + 2ull * 0x10000000, 0x200000},
        {0x10000000, 0x400000, 1, start + 0x400000 + 0x10000000, 0x200000},
        {0x12345678, 0x400000, 1, start + 0x400000 + 0x10000000, 0x200000},
        {0x40000000, 0x800000, 0xffff, start + 0x800000 + 0xffffull * 0x40000000, 0x800000},
    };
    for (const Case& c : cases) {
        disk_param_t p{};
        p.dataFileSize = c.dataFileSize;
        p.data_offset = c.dataOffset;
        p.part_start[1] = start;
        EXPECT_EQ(dataFileOffset(p, 1, c.fileIndex), c.expected) << std::hex << c.dataFileSize;
        EXPECT_EQ(mediaStart(c.dataFileSize), c.mediaStartExpected) << std::hex << c.dataFileSize;
    }
    EXPECT_EQ(eventsPerFile(0x40000000), 512u);
    EXPECT_EQ(eventsPerFile(0x20000000), 256u);
}

TEST(FrameRecord, StoredLengthIsPaddedToEightBytes) {
    struct Case {
        uint32_t payload;
        uint64_t stored;
    };
    const Case cases[] = {{0, 40}, {1, 48}, {8, 48}, {9, 56}, {0xFFFFFFFF, 40 + 0x100000000ull}};
    for (const Case& c : cases)
        EXPECT_EQ(storedFrameLength(c.payload), c.stored) << c.payload;
}

TEST(FrameRecord, AcceptsOnlyMediaTypesBehindTheTag) {
    KVFrameHeader h{};
    h.FrameTag = KVFrameTag;
    for (char type : {'I', 'P', 'V', 'A'}) {
        h.frameType = static_cast<uint8_t>(type);
        EXPECT_TRUE(isFrameHeader(h)) << type;
    }
    for (char type : {'T', 'i', '\0'}) {
        h.frameType = static_cast<uint8_t>(type);
        EXPECT_FALSE(isFrameHeader(h)) << type;
    }
    h.frameType = 'I';
    h.FrameTag = 0x6d46564c;
    EXPECT_FALSE(isFrameHeader(h));
}

TEST(FrameRecord, CaptureTimeIsWallClockWhateverTheZone) {
    setenv("TZ", "America/New_York", 1);
    tzset();
    KVFrameHeader h{};
    h.Time = 0;
    EXPECT_EQ(formatTime(captureCalendarTime(h)), "1970-01-01 00:00:00");
    h.Time = static_cast<uint64_t>(toEpochSeconds(CalendarTime{2026, 12, 1, 9, 0, 5})) * 1000000 + 999999;
    EXPECT_EQ(formatTime(captureCalendarTime(h)), "2026-12-01 09:00:05");
    unsetenv("TZ");
    tzset();
}
