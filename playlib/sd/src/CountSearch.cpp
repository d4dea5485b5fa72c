#include "CountSearch.h"

#include "MessageLine.h"
#include "RecordingSpan.h"
#include "SearchControl.h"
#include "SearchHandles.h"

namespace kvrfs {
namespace {

constexpr int32_t kFailed = -1;
constexpr int64_t kSecondsPerDay = 24 * 3600;

bool isZero(const rfs_time_t& t) {
    return t.year == 0 && t.month == 0 && t.day == 0 && t.hour == 0 && t.minute == 0 && t.second == 0;
}

int64_t dayNumber(rfs::PackedTime time) {
    return rfs::toEpochSeconds(rfs::unpackTime(time)) / kSecondsPerDay;
}

rfs_time_t timeOfDay(int64_t day, int hour, int minute, int second) {
    return rfs::toRfsTime(
        rfs::packTime(rfs::fromEpochSeconds(day * kSecondsPerDay + hour * 3600 + minute * 60 + second)));
}

int listedEvents(int handle) {
    int count = 0;
    for (const SlotList& slot : searchHandles()[handle].slots)
        count += static_cast<int>(slot.events.size());
    return count;
}

}  // namespace

int32_t runCountSearch(const rfs_find_param_t& param, void* out, int num) {
    if (num < 0 || num > kMaxCountSearch) {
        message("search num out of range. num = %d\n", num);
        return kFailed;
    }
    const RecordingSpan recorded = recordingSpan();
    const rfs::PackedTime end = isZero(param.end) ? recorded.end : rfs::packTime(param.end);
    if (recorded.start == 0 || end < recorded.start) {
        message("search time err\n");
        return kFailed;
    }
    const int64_t lastDay = dayNumber(end);
    const int64_t firstDay = dayNumber(recorded.start);

    // One search over whole days lists an event that crosses midnight once.
    rfs_find_param_t daySearch = param;
    daySearch.find_mode = 0;
    daySearch.end = timeOfDay(lastDay, 23, 59, 59);
    for (int64_t day = lastDay;; --day) {
        daySearch.start = timeOfDay(day, 0, 0, 0);
        const int32_t handle = findStart(&daySearch, out);
        if (handle < 0) {
            message("find_rec_event error\n");
            return handle;
        }
        const int count = listedEvents(handle);
        message("count = %d\n", count);
        if (count >= num || day <= firstDay)
            return handle;
        findStop(handle);
        message("intput day   = %d  , starttime day = %d\n", rfs::unpackTime(rfs::packTime(daySearch.start)).day,
                rfs::unpackTime(recorded.start).day);
    }
}

}  // namespace kvrfs
