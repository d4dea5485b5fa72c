#include "CivilTime.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Floor division, so that times before 1970 fall on the day before.
int64_t floorDiv(int64_t value, int64_t divisor) {
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

}  // namespace

// Counts in 400-year eras of 146097 days, each starting on 1 March so that the leap day ends a year.
CivilTime civilTime(int64_t secondsSinceEpoch) noexcept {
    const int64_t days = floorDiv(secondsSinceEpoch, kSecondsPerDay);
    const int64_t secondOfDay = secondsSinceEpoch - days * kSecondsPerDay;

    const int64_t shifted = days + 719468;  // days from 0000-03-01 to 1970-01-01
    const int64_t era = floorDiv(shifted, 146097);
    const int64_t dayOfEra = shifted - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t marchMonth = (5 * dayOfYear + 2) / 153;  // 0 = March
    const int month = static_cast<int>(marchMonth < 10 ? marchMonth + 3 : marchMonth - 9);

    CivilTime time{};
    time.year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    time.month = month;
    time.day = static_cast<int>(dayOfYear - (153 * marchMonth + 2) / 5 + 1);
    time.hour = static_cast<int>(secondOfDay / 3600);
    time.minute = static_cast<int>(secondOfDay / 60 % 60);
    time.second = static_cast<int>(secondOfDay % 60);
    return time;
}
