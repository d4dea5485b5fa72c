#include "TimeSeek.h"

#include "DiskRegistry.h"
#include "KeyFrameEntries.h"
#include "MessageLine.h"
#include "ReadHandles.h"
#include "SearchHandles.h"
#include "rfs/FrameRecord.h"

namespace kvrfs {
namespace {

// The event's positions must lie inside its data file before any of them is used.
bool positionsInsideFile(const rfs_event_t& event, uint32_t dataFileSize) {
    const uint64_t size = rfs::normalisedDataFileSize(dataFileSize);
    const uint64_t media = rfs::mediaStart(dataFileSize);
    return event.data_start >= media && uint64_t{event.data_start} + event.data_len <= size && event.kf_top <= size &&
           event.kf_low >= media && event.kf_low % keyFrameEntrySize() == 0 && event.kf_top % keyFrameEntrySize() == 0;
}

class Seeker {
public:
    Seeker(ReadHandle& handle, rfs::PackedTime target, int direction)
        : handle_(handle), target_(target), direction_(direction) {}

    // The chosen entry, or a negative read result.
    int64_t findEntry(int64_t estimate) {
        int64_t p = estimate;
        if (!timeAt(p))
            return error_;
        if (time_ < target_) {
            // Newer entries have lower numbers.
            while (p >= handle_.firstEntry) {
                if (!timeAt(p))
                    return error_;
                if (time_ >= target_)
                    break;
                --p;
            }
            if (p < handle_.firstEntry)
                return direction_ == 1 ? handle_.firstEntry : kReadPositionError;
            return direction_ == 1 && time_ > target_ ? p + 1 : p;
        }
        if (time_ > target_) {
            while (time_ > target_ && p < handle_.lastEntry) {
                ++p;
                if (!timeAt(p))
                    return error_;
            }
            return time_ < target_ && direction_ != 1 ? p - 1 : p;
        }
        return p;
    }

private:
    bool timeAt(int64_t entry) {
        const bool reload = !handle_.window.holds(entry);
        if (!loadKeyFrameWindow(handle_, entry)) {
            error_ = kReadShort;
            return false;
        }
        if (reload && handle_.covered) {
            message("data had already recovered\n");
            error_ = kReadEventCovered;
            return false;
        }
        time_ = handle_.window.at(entry).time;
        return true;
    }

    ReadHandle& handle_;
    rfs::PackedTime target_;
    int direction_;
    rfs::PackedTime time_ = 0;
    int32_t error_ = 0;
};

// 0 when the search that listed the event still holds it; `covered` tells whether its data was
// overwritten since.
int32_t checkListed(const rfs_event_t& event, bool& covered) {
    const int searchHandle = event.handle;
    if (searchHandle >= kSearchHandles || searchHandles()[searchHandle].kind == SearchKind::Free) {
        message("%d handle isn't exist\n", searchHandle);
        return kReadBadHandle;
    }
    if (event.slot >= kChannelSlots) {
        message("the event is not in memory\n");
        return kReadEventNotListed;
    }
    const SlotList& slot = searchHandles()[searchHandle].slots[event.slot];
    if (event.index < 0 || event.index >= static_cast<int>(slot.events.size())) {
        message("the event is not in memory\n");
        return kReadEventNotListed;
    }
    covered = slot.events[event.index].invalid == 1;
    return 0;
}

}  // namespace

int32_t timeSeek(int handleNumber, const rfs_time_t* seekTime, int direction, const rfs_event_t* event,
                 int endAtLastKeyFrame, EventSource source) {
    if (handleNumber < 0 || handleNumber >= kReadHandles || !readHandles()[handleNumber].inUse) {
        message("fs find start invalid fd!\n");
        return kReadBadHandle;
    }
    if (seekTime == nullptr || event == nullptr) {
        message("para err!\n");
        return kReadBadBuffer;
    }
    ReadHandle& handle = readHandles()[handleNumber];
    const rfs::PackedTime target = rfs::packTime(*seekTime);
    message("seek time:%s\n", rfs::formatTime(rfs::unpackTime(target)).c_str());

    const rfs::PackedTime start = rfs::packTime(event->start);
    const rfs::PackedTime end = rfs::packTime(event->end);
    const int64_t first = event->kf_low / keyFrameEntrySize();
    const int64_t last = static_cast<int64_t>(event->kf_top / keyFrameEntrySize()) - 1;
    const int diskId = static_cast<int>(event->record_id >> 24);
    const int partition = static_cast<int>(event->record_id >> 16 & 0xff);
    const uint32_t fileIndex = event->record_id & 0xffff;

    const DiskRegistry& reg = registry();
    const DiskRecord* disk = diskId < kMaxDisks ? reg.disks[diskId].get() : nullptr;
    if (disk == nullptr || reg.maxFileNr == 0) {
        message("pg_disk_list:%d is null\n", diskId);
        return kReadDiskGone;
    }
    if (target < start || target > end) {
        message("input seek_time param err, must in start_time and end_time\n");
        return kReadBadEvent;
    }
    if (last < first || end < start || partition >= disk->param.part_count ||
        fileIndex >= disk->part[partition].file_nr || !positionsInsideFile(*event, disk->param.dataFileSize)) {
        message("write ifram offse or time err\n");
        return kReadBadEvent;
    }

    bool covered = false;
    if (source == EventSource::SearchList) {
        if (const int32_t refused = checkListed(*event, covered); refused != 0)
            return refused;
    }

    // Until the seek succeeds the handle reads nothing: no stale position serves the new event.
    handle.dataStart = 0;
    handle.dataLength = 0;
    handle.position = 0;
    handle.firstEntry = 1;
    handle.lastEntry = 0;
    handle.referenceDelivered = true;

    const AccessMode mode = reg.mode();
    if (!handle.haveRecordId || handle.recordId != event->record_id) {
        handle.dataFile = StoreFile{};
        handle.recordId = event->record_id;
        handle.haveRecordId = true;
    }
    handle.eventIndex = event->event_idx;
    handle.fileBase = mode == AccessMode::Raw ? rfs::dataFileOffset(disk->param, partition, fileIndex) : 0;
    handle.window.count = 0;
    handle.covered = covered;
    if (handle.covered) {
        message("the event had been covered\n");
        return kReadEventCovered;
    }
    if (!handle.dataFile.isOpen()) {
        handle.dataFile = StoreFile::openDataFile(mode, disk->path, fileIndex, OpenFor::Read);
        if (!handle.dataFile.isOpen()) {
            message("open file %s failed!\n", handle.dataFile.name().c_str());
            return kReadOpenFailed;
        }
    }

    handle.firstEntry = first;
    handle.lastEntry = last;
    handle.dataStart = event->data_start;
    const int64_t estimate =
        end == start ? first
                     : first + static_cast<int64_t>(end - target) * (last - first) / static_cast<int64_t>(end - start);
    message("estimate index pos:%lld \n", static_cast<long long>(estimate));
    const int64_t chosen = Seeker(handle, target, direction).findEntry(estimate);
    if (chosen < 0)
        return static_cast<int32_t>(chosen);
    if (!loadKeyFrameWindow(handle, chosen))
        return kReadShort;

    const rfs::iframe_info_t& entry = handle.window.at(chosen);
    const bool virtualFrame = entry.ref_offset != entry.offset;
    const uint64_t position = virtualFrame ? entry.ref_offset : entry.offset;
    const uint64_t dataEnd = uint64_t{event->data_start} + event->data_len;
    auto inside = [&](uint64_t at) { return at >= event->data_start && at <= dataEnd; };
    if (!inside(position) || !inside(entry.offset)) {
        message("write data err\n");
        return kReadPositionError;
    }
    handle.dataLength = event->data_len;
    handle.referenceDelivered = !virtualFrame;
    handle.position = position;
    handle.currentEntry = chosen;
    handle.countdown = 0;
    handle.lastReference = 0;

    if (endAtLastKeyFrame != 0) {
        if (!loadKeyFrameWindow(handle, first))
            return kReadShort;
        const rfs::iframe_info_t& lastKeyFrame = handle.window.at(first);
        message("=========================lastIframe:%lld\n", static_cast<long long>(first));
        const uint64_t stop = uint64_t{lastKeyFrame.offset} + lastKeyFrame.length;
        if (handle.dataStart < lastKeyFrame.offset && stop <= handle.dataEnd())
            handle.dataLength = stop - handle.dataStart;
        if (handle.position > handle.dataEnd()) {
            message("write data err\n");
            return kReadPositionError;
        }
    }
    return 0;
}

}  // namespace kvrfs
