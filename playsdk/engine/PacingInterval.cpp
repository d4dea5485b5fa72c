#include "PacingInterval.h"

namespace kvplay {
namespace {

constexpr uint64_t kDefaultInterval = 40000;
constexpr uint64_t kLongLimit = 20000000;
constexpr uint64_t kLimit = 1200000;

// Slower modes 4..7 shift left by 1..4, faster modes 16..19 right by 1..4.
uint64_t scaledByMode(uint64_t d, int32_t mode) {
    if (mode >= 4 && mode <= 7)
        return d << (mode - 3);
    if (mode >= 16 && mode <= 19)
        return d >> (mode - 15);
    return d;
}

uint64_t cushioned(uint64_t d, int32_t cushionMs, int64_t bufferedMs) {
    if (bufferedMs < cushionMs)
        return d;
    if (bufferedMs < int64_t{cushionMs} * 3 / 2)
        return d * 19 / 20;
    if (bufferedMs < int64_t{cushionMs} * 2)
        return d * 17 / 20;
    return d * 15 / 20;
}

}  // namespace

int64_t pacingInterval(const PacingInput& in) {
    uint64_t d = in.timestamp - in.lastTimestamp;
    if (in.reverse && in.timestamp < in.lastTimestamp)
        d = in.lastTimestamp - in.timestamp;
    if (d == 0)
        d = kDefaultInterval;
    const bool longGapsAllowed = in.reverse || (in.mode != 1 && in.key && in.lastKey);
    if (d > (longGapsAllowed ? kLongLimit : kLimit))
        d = kDefaultInterval;
    if (in.live) {
        if (in.cushionMs > 0 && in.haveBuffered)
            d = cushioned(d, in.cushionMs, in.bufferedMs);
    } else {
        d = scaledByMode(d, in.mode);
    }
    return static_cast<int64_t>(d);
}

}  // namespace kvplay
