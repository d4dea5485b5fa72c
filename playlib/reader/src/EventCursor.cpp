#include "EventCursor.h"

#include <algorithm>

#include "DiskRegistry.h"
#include "MessageLine.h"
#include "SearchHandles.h"
#include "SearchResults.h"

namespace kvrfs {
namespace {

constexpr int kLookBackRecords = 100;

rfs::PackedTime startOf(const rfs_event_t& e) { return rfs::packTime(e.start); }
rfs::PackedTime endOf(const rfs_event_t& e) { return rfs::packTime(e.end); }

// One hour before the seek start, but never before midnight of its day.
rfs::PackedTime lookBackTime(rfs::PackedTime seekStart) {
    rfs::CalendarTime t = rfs::unpackTime(seekStart);
    if (t.hour >= 1)
        return rfs::packTime(rfs::fromEpochSeconds(rfs::toEpochSeconds(t) - 3600));
    t.minute = 0;
    t.second = 0;
    return rfs::packTime(t);
}

// Index of the last event starting at or before `key`; -1 when all start after it.
int bisect(const std::vector<rfs_event_t>& list, rfs::PackedTime key, bool upperBound) {
    const int count = static_cast<int>(list.size());
    if (key < startOf(list.front()))
        return -1;
    if (key >= startOf(list.back()))
        return count - 1;
    int lo = 0;
    int hi = count - 1;
    while (hi - 1 > lo) {
        const int mid = (lo + hi) / 2;
        if (key < startOf(list[mid]))
            hi = mid;
        else
            lo = mid;
    }
    message("low = %d, high = %d\n", lo, hi);
    return upperBound && key >= startOf(list[hi]) ? hi : lo;
}

int seekForward(const std::vector<rfs_event_t>& list, rfs::PackedTime lookBack, rfs::PackedTime from,
                rfs::PackedTime to) {
    const int m = std::max(bisect(list, lookBack, false), 0);
    message("find_start:%d\n", m);
    int found = -1;
    for (int i = m; i < static_cast<int>(list.size()) && startOf(list[i]) <= to; ++i) {
        if (list[i].invalid == 0 && endOf(list[i]) >= from) {
            found = i;
            break;
        }
    }
    // An event that starts after the seek time may hide an earlier one that still runs at it.
    if (found > 0 && startOf(list[found]) > from) {
        for (int i = found - 1; i >= std::max(0, m - kLookBackRecords) + 1; --i) {
            if (list[i].invalid == 0 && endOf(list[i]) >= from) {
                found = i;
                break;
            }
        }
    }
    return found;
}

int seekBackward(const std::vector<rfs_event_t>& list, rfs::PackedTime lookBack, rfs::PackedTime from,
                 rfs::PackedTime to) {
    const int m = bisect(list, to, true);
    message("find_start:%d\n", m);
    for (int i = m; i >= 0; --i) {
        if (startOf(list[i]) < lookBack)
            return endOf(list[i]) > to ? i : -1;
        if (list[i].invalid == 0 && endOf(list[i]) >= from)
            return i;
    }
    return -1;
}

SlotList* checkedSlot(int handle, int slot, int32_t& error, int32_t handleError) {
    if (handle < 0 || handle >= kSearchHandles) {
        error = handleError;
        return nullptr;
    }
    if (slot < 0 || slot >= registry().maxRecChannels || slot >= kChannelSlots) {
        message("invalid chn\n");
        error = kBadSlot;
        return nullptr;
    }
    SearchHandle& h = searchHandles()[handle];
    if (h.kind == SearchKind::Free) {
        message("%d handle isn't exist\n", handle);
        error = kHandleNotInUse;
        return nullptr;
    }
    if (h.slots[slot].events.empty()) {
        message("chn%d have not search or no event\n", slot);
        error = kEmptyList;
        return nullptr;
    }
    return &h.slots[slot];
}

}  // namespace

int32_t seekEvent(int handle, int slot, const rfs_time_t* seekStart, const rfs_time_t* seekEnd, int mode) {
    if (handle < 0 || handle >= kSearchHandles)
        message("invalid handel\n");
    int32_t error = 0;
    SlotList* list = checkedSlot(handle, slot, error, kBadHandle);
    if (list == nullptr)
        return error;
    if (seekStart == nullptr || seekEnd == nullptr) {
        message("pointer is null!\n");
        return kBadParam;
    }
    const rfs::PackedTime from = rfs::packTime(*seekStart);
    const rfs::PackedTime to = rfs::packTime(*seekEnd);
    const rfs::PackedTime lookBack = lookBackTime(from);
    message("find_start_time:[%s]\n", rfs::formatTime(rfs::unpackTime(lookBack)).c_str());
    const int found = mode == 0 ? seekForward(list->events, lookBack, from, to)
                                : seekBackward(list->events, lookBack, from, to);
    message("find_to:%d\n", found);
    if (found < 0)
        return kNothingFound;
    list->cursor = found;
    message("event_seek_no:%d\n", found);
    return 0;
}

int32_t moveCursor(int handle, int slot, CursorMove move, rfs_event_t* out) {
    int32_t error = 0;
    SlotList* list = checkedSlot(handle, slot, error, kHandleNotInUse);
    if (list == nullptr)
        return error;
    if (out == nullptr)
        return kBadParam;
    const int count = static_cast<int>(list->events.size());
    int& cursor = list->cursor;

    switch (move) {
    case CursorMove::Current:
        message("chn%d current event no:%d\n", slot, cursor);
        if (cursor < 0 || cursor >= count)
            return kCursorOutside;
        break;
    case CursorMove::Next:
        cursor = std::max(cursor, -1) + 1;
        while (cursor < count && list->events[cursor].invalid != 0)
            ++cursor;
        message("chn%d next event no:%d\n", slot, cursor);
        if (cursor >= count)
            return kNoNext;
        break;
    case CursorMove::Previous:
        cursor = std::min(cursor, count) - 1;
        while (cursor >= 0 && list->events[cursor].invalid != 0)
            --cursor;
        message("chn%d pre event no:%d\n", slot, cursor);
        if (cursor < 0)
            return kNoPrevious;
        break;
    }
    *out = list->events[cursor];
    return 0;
}

}  // namespace kvrfs
