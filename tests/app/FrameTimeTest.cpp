// The conversions between the caller's calendar time, rfs_time_t and frame microseconds.
#include <gtest/gtest.h>

#include "FrameTime.h"

using namespace tarn;

TEST(FrameTime, CountsByUtcRulesWhateverTheZone) {
    setenv("TZ", "Asia/Seoul", 1);
    tzset();
    EXPECT_EQ(toFrameTime(toRfsTime(FrameSourceTime{2000, 1, 1, 0, 0, 0}, YearField::Full)), 946'684'800'000'000u);
    const rfs_time_t t = toRfsTime(uint64_t{1'796'083'200'000'000} + 999'999);  // 2026-12-01 00:00:00.999999
    EXPECT_EQ(t.year, 26);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.hour, 0);
    EXPECT_EQ(t.second, 0);
    EXPECT_EQ(toFrameTime(t), 1'796'083'200'000'000u) << "whole seconds";
    unsetenv("TZ");
    tzset();
}

TEST(FrameTime, TakesTheYearFieldAsTheCallerSays) {
    const FrameSourceTime full{2026, 12, 1, 9, 30, 15};
    const FrameSourceTime sinceY2K{26, 12, 1, 9, 30, 15};
    EXPECT_TRUE(compareTimes(toRfsTime(full, YearField::Full), toRfsTime(sinceY2K, YearField::SinceY2K)) == 0);
    EXPECT_EQ(toRfsTime(full, YearField::Full).year, 26);
}

TEST(FrameTime, ComparesChronologicallyIgnoringTheReservedByte) {
    const auto t = [](int day, int hour, int second, uint8_t reserved = 0) {
        rfs_time_t r = toRfsTime(FrameSourceTime{2026, 12, static_cast<uint8_t>(day), static_cast<uint8_t>(hour), 0,
                                                 static_cast<uint8_t>(second)},
                                 YearField::Full);
        r.reserved = reserved;
        return r;
    };
    EXPECT_TRUE(compareTimes(t(1, 9, 0, 0), t(1, 9, 0, 7)) == 0);
    EXPECT_TRUE(compareTimes(t(1, 23, 59), t(2, 0, 0)) < 0) << "the day outranks the hour";
    EXPECT_TRUE(compareTimes(t(1, 9, 1), t(1, 9, 0)) > 0);
    EXPECT_TRUE(compareTimes(laterOf(t(1, 9, 0), t(1, 10, 0)), t(1, 10, 0)) == 0);
    EXPECT_TRUE(compareTimes(earlierOf(t(1, 9, 0), t(1, 10, 0)), t(1, 9, 0)) == 0);
}
