// Calendar date and time of day for a count of seconds since 1970-01-01 00:00, computed without the C
// library so that a signal handler may use it.
#pragma once

#include <cstdint>

struct CivilTime {
    int64_t year;
    int month;  // 1..12
    int day;    // 1..31
    int hour;
    int minute;
    int second;
};

CivilTime civilTime(int64_t secondsSinceEpoch) noexcept;
