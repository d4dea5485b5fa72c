// Tells when the recorder's calendar day changed, checking every fifth frame time it is given.
#pragma once

#include <cstdint>

namespace kvplay::record {

class DayChangeDetector {
public:
    // True when this check finds another day than the last one; the first check only remembers.
    bool check(uint64_t captureTimeUs);

private:
    int count_ = 0;
    bool remembered_ = false;
    int lastHour_ = 0;
    int lastDayOfYear_ = 0;
};

}  // namespace kvplay::record
