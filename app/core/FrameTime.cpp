#include "FrameTime.h"

#include <tuple>

#include "rfs/PackedTime.h"

namespace tarn {

rfs_time_t toRfsTime(const FrameSourceTime& t, YearField year) {
    rfs_time_t r{};
    r.year = static_cast<uint16_t>(year == YearField::Full ? t.year - 2000 : t.year);
    r.month = t.month;
    r.day = t.day;
    r.hour = t.hour;
    r.minute = t.minute;
    r.second = t.second;
    return r;
}

rfs_time_t toRfsTime(uint64_t frameTimeUs) {
    const rfs::CalendarTime c = rfs::fromEpochSeconds(static_cast<int64_t>(frameTimeUs / 1'000'000));
    rfs_time_t r{};
    r.year = static_cast<uint16_t>(c.year - 2000);
    r.month = static_cast<uint8_t>(c.month);
    r.day = static_cast<uint8_t>(c.day);
    r.hour = static_cast<uint8_t>(c.hour);
    r.minute = static_cast<uint8_t>(c.minute);
    r.second = static_cast<uint8_t>(c.second);
    return r;
}

int64_t toEpochSeconds(const rfs_time_t& t) {
    return rfs::toEpochSeconds(rfs::CalendarTime{t.year + 2000, t.month, t.day, t.hour, t.minute, t.second});
}

uint64_t toFrameTime(const rfs_time_t& t) {
    return static_cast<uint64_t>(toEpochSeconds(t)) * 1'000'000;
}

std::strong_ordering compareTimes(const rfs_time_t& a, const rfs_time_t& b) {
    return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) <=>
           std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
}

}  // namespace tarn
