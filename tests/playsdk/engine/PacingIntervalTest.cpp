// The interval between pictures: limits, speeds, reverse play and the live cushion.
#include <gtest/gtest.h>

#include "PacingInterval.h"

TEST(PacingInterval, FollowsTimestampsModesAndLimits) {
    struct Case {
        const char* what;
        kvplay::PacingInput in;
        int64_t expected;
    };
    auto at = [](uint64_t last, uint64_t next, int32_t mode = 1) {
        kvplay::PacingInput in;
        in.lastTimestamp = last;
        in.timestamp = next;
        in.mode = mode;
        return in;
    };
    auto keys = [](kvplay::PacingInput in) {
        in.key = in.lastKey = true;
        return in;
    };
    auto reversed = [](kvplay::PacingInput in) {
        in.reverse = true;
        return in;
    };
    const Case cases[] = {
        {"normal", at(1'000'000, 1'040'000), 40'000},
        {"same timestamp", at(1'000'000, 1'000'000), 40'000},
        {"backwards in forward play", at(1'000'000, 900'000), 40'000},
        {"just within the limit", at(0 + 1, 1'200'001), 1'200'000},
        {"beyond the limit", at(1, 1'200'002), 40'000},
        {"16 times slower", at(1'000'000, 1'040'000, 7), 640'000},
        {"2 times faster", at(1'000'000, 1'040'000, 16), 20'000},
        {"16 times faster", at(1'000'000, 1'040'000, 19), 2'500},
        {"unknown mode paces as normal", at(1'000'000, 1'040'000, 33), 40'000},
        {"key frames 2 s apart at 16 times", keys(at(1'000'000, 3'000'000, 19)), 125'000},
        {"key frames 2 s apart at normal speed", keys(at(1'000'000, 3'000'000, 1)), 40'000},
        {"key frames beyond 20 s", keys(at(1'000'000, 21'000'001, 19)), 2'500},
        {"reverse", reversed(at(3'000'000, 2'000'000)), 1'000'000},
        {"reverse beyond 20 s", reversed(at(30'000'000, 5'000'000)), 40'000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kvplay::pacingInterval(c.in), c.expected) << c.what;
}

TEST(PacingInterval, LiveStreamsPlayFasterTheMoreIsBuffered) {
    struct {
        int64_t bufferedMs;
        int64_t expected;
    } cases[] = {{50, 40'000}, {100, 38'000}, {149, 38'000}, {150, 34'000}, {199, 34'000}, {250, 30'000}};
    for (const auto& c : cases) {
        kvplay::PacingInput in;
        in.lastTimestamp = 1'000'000;
        in.timestamp = 1'040'000;
        in.mode = 19;  // speeds do not apply to live streams
        in.live = true;
        in.cushionMs = 100;
        in.haveBuffered = true;
        in.bufferedMs = c.bufferedMs;
        EXPECT_EQ(kvplay::pacingInterval(in), c.expected) << c.bufferedMs << " ms buffered";
    }
}
