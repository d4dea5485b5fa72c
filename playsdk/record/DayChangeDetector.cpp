#include "DayChangeDetector.h"

#include <ctime>

namespace kvplay::record {

namespace {
constexpr int kCheckEvery = 5;
}

bool DayChangeDetector::check(uint64_t captureTimeUs) {
    if (++count_ < kCheckEvery)
        return false;
    count_ = 0;
    // Recorder times are wall-clock fields counted by UTC rules.
    const std::time_t seconds = static_cast<std::time_t>(captureTimeUs / 1'000'000);
    std::tm fields{};
    if (gmtime_r(&seconds, &fields) == nullptr)
        return false;
    const bool changed =
        remembered_ && (fields.tm_yday != lastDayOfYear_ || (fields.tm_hour == 0 && lastHour_ == 23));
    remembered_ = true;
    lastHour_ = fields.tm_hour;
    lastDayOfYear_ = fields.tm_yday;
    return changed;
}

}  // namespace kvplay::record
