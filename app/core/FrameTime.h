// The times a frame source works with: the caller's calendar time, the reader's rfs_time_t and the
// frame header's microseconds, all counted by UTC rules as the recorder's wall-clock time.
#pragma once

#include <compare>
#include <cstdint>

#include "rfs/rfs_types.h"

namespace tarn {

struct FrameSourceTime {
    uint16_t year = 0;  // full year, or year - 2000 where the caller says so
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t second = 0;
};

enum class YearField { Full, SinceY2K };

rfs_time_t toRfsTime(const FrameSourceTime& t, YearField year);
rfs_time_t toRfsTime(uint64_t frameTimeUs);  // whole seconds
int64_t toEpochSeconds(const rfs_time_t& t);
uint64_t toFrameTime(const rfs_time_t& t);

// Chronological order; the reserved byte plays no part.
std::strong_ordering compareTimes(const rfs_time_t& a, const rfs_time_t& b);
inline const rfs_time_t& laterOf(const rfs_time_t& a, const rfs_time_t& b) {
    return compareTimes(a, b) < 0 ? b : a;
}
inline const rfs_time_t& earlierOf(const rfs_time_t& a, const rfs_time_t& b) {
    return compareTimes(a, b) > 0 ? b : a;
}

}  // namespace tarn
