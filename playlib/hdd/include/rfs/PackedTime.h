// The store's 32-bit packed time and its conversions. Packed times compare as unsigned integers but
// are not a linear count of seconds; calendar arithmetic goes through epoch seconds by UTC rules,
// because every time on the medium is the recorder's wall-clock time with no zone attached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <cstdio>
#include <optional>
#include <string>

#include "rfs/rfs_types.h"

namespace rfs {

using PackedTime = uint32_t;

struct CalendarTime {
    int year = 2000;  // full year, 2000..2063 for packed times
    int month = 1;    // 1..12
    int day = 1;      // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

constexpr PackedTime packTime(const CalendarTime& t) {
    return (static_cast<uint32_t>(t.year - 2000) & 0x3f) << 26 | (static_cast<uint32_t>(t.month) & 0xf) << 22 |
           (static_cast<uint32_t>(t.day) & 0x1f) << 17 | (static_cast<uint32_t>(t.hour) & 0x1f) << 12 |
           (static_cast<uint32_t>(t.minute) & 0x3f) << 6 | (static_cast<uint32_t>(t.second) & 0x3f);
}

// Year and month of a packed time, comparable as a number: (year - 2000) << 4 | month.
constexpr uint32_t monthOf(PackedTime t) { return t >> 22; }

constexpr CalendarTime unpackTime(PackedTime p) {
    return CalendarTime{static_cast<int>(p >> 26) + 2000, static_cast<int>(p >> 22 & 0xf),
                        static_cast<int>(p >> 17 & 0x1f), static_cast<int>(p >> 12 & 0x1f),
                        static_cast<int>(p >> 6 & 0x3f),  static_cast<int>(p & 0x3f)};
}

constexpr PackedTime packTime(const rfs_time_t& t) {
    return packTime(CalendarTime{t.year + 2000, t.month, t.day, t.hour, t.minute, t.second});
}

constexpr rfs_time_t toRfsTime(PackedTime p) {
    const CalendarTime c = unpackTime(p);
    rfs_time_t t{};
    t.second = static_cast<uint8_t>(c.second);
    t.minute = static_cast<uint8_t>(c.minute);
    t.hour = static_cast<uint8_t>(c.hour);
    t.day = static_cast<uint8_t>(c.day);
    t.month = static_cast<uint8_t>(c.month);
    t.year = static_cast<uint16_t>(c.year - 2000);
    return t;
}

// Seconds since 1970-01-01 counted by UTC rules (no zone shift).
inline int64_t toEpochSeconds(const CalendarTime& c) {
    std::tm tm{};
    tm.tm_year = c.year - 1900;
    tm.tm_mon = c.month - 1;
    tm.tm_mday = c.day;
    tm.tm_hour = c.hour;
    tm.tm_min = c.minute;
    tm.tm_sec = c.second;
    return static_cast<int64_t>(timegm(&tm));
}

inline CalendarTime fromEpochSeconds(int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    return CalendarTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// Checks the ranges of the fields; a packed time can only hold years 2000..2063.
constexpr bool isValidPackable(const CalendarTime& c) {
    return c.year >= 2000 && c.year <= 2063 && c.month >= 1 && c.month <= 12 && c.day >= 1 && c.day <= 31 &&
           c.hour >= 0 && c.hour <= 23 && c.minute >= 0 && c.minute <= 59 && c.second >= 0 && c.second <= 59;
}

// "YYYY-MM-DD HH:MM:SS", the form in which every tool shows and reads recorder times.
inline std::string formatTime(const CalendarTime& c) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute,
                  c.second);
    return text;
}

inline std::optional<CalendarTime> parseTime(const std::string& text) {
    CalendarTime c;
    char tail = 0;
    const int n = std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &c.year, &c.month, &c.day, &c.hour, &c.minute,
                              &c.second, &tail);
    if (n != 6 || !isValidPackable(c))
        return std::nullopt;
    // Reject dates such as 2026-02-30 that timegm would silently roll over.
    if (fromEpochSeconds(toEpochSeconds(c)) != c)
        return std::nullopt;
    return c;
}

}  // namespace rfs
