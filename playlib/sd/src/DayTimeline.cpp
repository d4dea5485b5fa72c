#include "DayTimeline.h"

#include <algorithm>

#include "PartitionEvents.h"
#include "ReaderProfile.h"
#include "SearchPasses.h"

namespace kvrfs {
namespace {

constexpr int kSecondsPerSlot = 1800;

int slotOf(rfs::PackedTime time) {
    const rfs::CalendarTime t = rfs::unpackTime(time);
    return std::min(kTimelineSlots - 1, (t.hour * 3600 + t.minute * 60 + t.second) / kSecondsPerSlot);
}

}  // namespace

int32_t runDayTimeline(const rfs_find_param_t& param, uint32_t slots[kTimelineSlots]) {
    std::fill(slots, slots + kTimelineSlots, 0u);
    const SearchRequest request(param);
    // The slots belong to the day the span starts on: what runs past its midnight fills the last slot.
    rfs::CalendarTime dayEnd = rfs::unpackTime(request.from());
    dayEnd.hour = 23;
    dayEnd.minute = 59;
    dayEnd.second = 59;
    const rfs::PackedTime lastOfDay = std::min(request.to(), rfs::packTime(dayEnd));
    const unsigned passes = readerProfile().searchPasses(param.find_mode);
    for (int pass = 0; pass < 2; ++pass) {
        if ((passes >> pass & 1) == 0)
            continue;
        const int32_t result =
            visitPassPartitions(pass, request, StoredKind::Recordings, [&](const DiskRecord& disk, int p) {
                return visitPartitionEvents(
                    disk, p, request,
                    [&](uint32_t, const rfs::index_file_info&, const rfs::index_event_info& event, uint32_t) {
                        const rfs::PackedTime from = std::max(event.start_time, request.from());
                        const rfs::PackedTime to = std::min(event.end_time, lastOfDay);
                        if (from > to)
                            return 0;
                        for (int s = slotOf(from); s <= slotOf(to); ++s)
                            slots[s] |= event.rec_type;
                        return 0;
                    });
            });
        if (result < 0)
            return result;
    }
    return 0;
}

}  // namespace kvrfs
