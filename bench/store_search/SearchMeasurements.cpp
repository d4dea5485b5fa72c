#include "SearchMeasurements.h"

#include <array>

#include "KVPlayHDD.h"
#include "ListingCheck.h"
#include "SearchQuery.h"
#include "Timing.h"

namespace storebench {
namespace {

constexpr int kTimedDay = 2;  // 2026-12-03, a whole day in the middle
constexpr int kOneTrack = 9;  // a motion camera's main stream: many short events
constexpr double kMonthGoalMs = 20;
constexpr double kDayGoalMs = 100;
constexpr int32_t kNoHandle = 64;

std::string dayName(int day) {
    return rfs::formatTime(rfs::fromEpochSeconds(dayStart(day))).substr(0, 10);
}

// Day d's bit t is set when an event of record type bit t starts on day d.
std::array<uint32_t, 31> writtenMonthDays(const StoreLayout& layout) {
    std::array<uint32_t, 31> days{};
    for (const PlannedFile& f : layout.files)
        for (const rfs::index_event_info& e : f.events)
            days[rfs::unpackTime(e.start_time).day - 1] |= e.rec_type;
    return days;
}

std::string maskText(const std::array<uint32_t, 31>& days) {
    std::string text;
    for (int d = 0; d < 31; ++d)
        if (days[d] != 0)
            text += (text.empty() ? "" : " ") + std::to_string(d + 1) + ":" + std::to_string(days[d]);
    return text.empty() ? "none" : text;
}

void measureMonth(const StoreLayout& layout, Report& report) {
    const ChannelBits bits = ChannelBits::all();
    rfs_find_param_t query = eventQuery(0, bits, dayStart(0), dayStart(0));
    std::array<uint32_t, 31> days{};
    int32_t result = 0;
    const TimedRuns timed = timeWarm([&] { result = KVrfs_find_start_hdd(&query, days.data()); });
    report.add(Figure{"month search, 32 tracks", fixed(timed.medianMs, 3, "ms"), "< 20 ms",
                      timed.medianMs < kMonthGoalMs, timed.perRun, ""});

    const std::array<uint32_t, 31> written = writtenMonthDays(layout);
    report.add(
        Check{"month search lists the days and record types written", result == kNoHandle && days == written,
              "result " + std::to_string(result) + ", listed " + maskText(days) + "; written " + maskText(written)});
}

// One per-channel search of `day`; the events it listed, or the negative result in `result`.
std::vector<rfs_event_t> searchDay(const ChannelBits& bits, int day, int32_t& result) {
    const rfs_find_param_t query = eventQuery(3, bits, dayStart(day), dayStart(day + 1) - 1);
    result = KVrfs_find_start_hdd(&query, nullptr);
    if (result < 0)
        return {};
    std::vector<rfs_event_t> events = listedEvents(result);
    KVrfs_find_stop_hdd(result);
    return events;
}

std::vector<EventKey> keysOf(const std::vector<rfs_event_t>& events) {
    std::vector<EventKey> keys;
    for (const rfs_event_t& e : events)
        keys.push_back(keyOf(e));
    return keys;
}

Check dayCheck(const std::string& what, const StoreLayout& layout, int track, int day,
               const std::vector<rfs_event_t>& listed, int32_t result) {
    const std::string name = "day search " + dayName(day) + ", " + what + ", lists exactly the events written";
    if (result < 0)
        return Check{name, false, "search result " + std::to_string(result)};
    return compareListing(name, writtenEvents(layout, track, dayStart(day), dayStart(day + 1) - 1), keysOf(listed));
}

void measureDay(const StoreLayout& layout, Report& report, int track) {
    const ChannelBits bits = track < 0 ? ChannelBits::all() : ChannelBits::one(track);
    const std::string what = track < 0 ? "32 tracks" : "track " + std::to_string(track);
    std::vector<rfs_event_t> listed;
    int32_t result = 0;
    const TimedRuns timed = timeWarm([&] { listed = searchDay(bits, kTimedDay, result); });
    report.add(Figure{"day search " + dayName(kTimedDay) + ", " + what + " (" + std::to_string(listed.size()) + " ev)",
                      fixed(timed.medianMs, 3, "ms"), "< 100 ms", timed.medianMs < kDayGoalMs, timed.perRun, ""});
    report.add(dayCheck(what, layout, track, kTimedDay, listed, result));
}

// The other days are checked too, untimed: events at day ends are where a search goes wrong.
void checkOtherDays(const StoreLayout& layout, Report& report) {
    for (int day = 0; day < kDays; ++day) {
        if (day == kTimedDay)
            continue;
        int32_t result = 0;
        const std::vector<rfs_event_t> listed = searchDay(ChannelBits::all(), day, result);
        report.add(dayCheck("32 tracks", layout, -1, day, listed, result));
    }
}

}  // namespace

void measureSearches(const StoreLayout& layout, Report& report) {
    measureMonth(layout, report);
    measureDay(layout, report, -1);
    measureDay(layout, report, kOneTrack);
    checkOtherDays(layout, report);
}

}  // namespace storebench
