// The library's C interface: thin wrappers that keep exceptions inside the library.
#include "KVPlaySD.h"

#include "ChannelPresence.h"
#include "DiskAttach.h"
#include "EventCursor.h"
#include "ExportGuard.h"
#include "IndexSeek.h"
#include "MessageLine.h"
#include "PictureRead.h"
#include "ReadHandles.h"
#include "RecordingSpan.h"
#include "SdSearch.h"
#include "SearchControl.h"
#include "StreamRead.h"
#include "Thumbnail.h"
#include "TimeSeek.h"
#include "rfs/SdEventRecord.h"

using kvrfs::bufferLength;
using kvrfs::guarded;

namespace {

constexpr int32_t kInvalidTime = -10;

int32_t moveSdCursor(int handle, int slot, kvrfs::CursorMove move, rfs_sd_event_t* out) {
    rfs_event_t event{};
    const int32_t result = kvrfs::moveCursor(handle, slot, move, out == nullptr ? nullptr : &event);
    if (result == 0)
        *out = rfs::toSdEvent(event);
    return result;
}

}  // namespace

extern "C" {

int32_t rfs_init(int max_rec_chn, int moarea_nums) {
    return guarded([&] { return kvrfs::initReader(max_rec_chn, moarea_nums); });
}

int32_t rfs_add_disk(int disk_id, const char* path, int disk_type, int group, const char* /*disk_flags*/) {
    return guarded([&] { return kvrfs::attachDisk(disk_id, path, disk_type, group); });
}

int32_t rfs_remove_disk(int disk_id) {
    return guarded([&] { return kvrfs::removeDisk(disk_id); });
}

int32_t rfs_find_start(const rfs_find_param_t* param, void* out, int num) {
    return guarded([&] { return kvrfs::sdFindStart(param, out, num); });
}

int32_t rfs_find_stop(int handle) {
    return guarded([&] { return kvrfs::sdFindStop(handle); });
}

int32_t rfs_get_event(int handle, int slot, rfs_sd_event_list_t* out) {
    return guarded([&] { return kvrfs::sdGetEventList(handle, slot, out); });
}

int32_t rfs_event_seek(int handle, int slot, const rfs_time_t* seek_start, const rfs_time_t* seek_end, int mode) {
    return guarded([&] { return kvrfs::seekEvent(handle, slot, seek_start, seek_end, mode); });
}

int32_t rfs_get_current_event(int handle, int slot, rfs_sd_event_t* out) {
    return guarded([&] { return moveSdCursor(handle, slot, kvrfs::CursorMove::Current, out); });
}

int32_t rfs_get_pre_event(int handle, int slot, rfs_sd_event_t* out) {
    return guarded([&] { return moveSdCursor(handle, slot, kvrfs::CursorMove::Previous, out); });
}

int32_t rfs_get_next_event(int handle, int slot, rfs_sd_event_t* out) {
    return guarded([&] { return moveSdCursor(handle, slot, kvrfs::CursorMove::Next, out); });
}

int32_t rfs_get_pic(int handle, int slot, rfs_pic_list_t* out) {
    return guarded([&] { return kvrfs::getPictureList(handle, slot, out); });
}

int32_t rfs_read_start(int chn) {
    return guarded([&] { return kvrfs::readStart(chn); });
}

int32_t rfs_tseek(int handle, const rfs_time_t* seek_time, int direction, int /*unused*/, const rfs_sd_event_t* event) {
    return guarded([&] {
        if (event == nullptr)
            return kvrfs::timeSeek(handle, seek_time, direction, nullptr, 0);
        const rfs_event_t listed = rfs::fromSdEvent(*event);
        return kvrfs::timeSeek(handle, seek_time, direction, &listed, 0);
    });
}

int32_t rfs_tseek_for_index(int handle, const rfs_time_t* seek_time, int direction, int /*unused*/,
                            const rfs_sd_event_t* event) {
    return guarded([&] {
        if (event == nullptr)
            return kvrfs::timeSeek(handle, seek_time, direction, nullptr, 0);
        return kvrfs::seekIndexedEvent(handle, seek_time, direction, event->record_id, event->event_idx);
    });
}

int32_t rfs_read(int handle, void* buffer, int length, int* skip, rfs_read_pos_t* pos) {
    return guarded([&] {
        return kvrfs::readSequential(handle, static_cast<unsigned char*>(buffer), bufferLength(length), skip, pos);
    });
}

int32_t rfs_get_next_kframe(int handle, void* buffer, int length, int* skip, int n, rfs_read_pos_t* pos) {
    return guarded([&] {
        return kvrfs::readKeyFrame(handle, static_cast<unsigned char*>(buffer), bufferLength(length), skip,
                                   kvrfs::KeyFrameStep::Next, n, pos);
    });
}

int32_t rfs_get_prev_kframe(int handle, void* buffer, int length, int* skip, int n, rfs_read_pos_t* pos) {
    return guarded([&] {
        return kvrfs::readKeyFrame(handle, static_cast<unsigned char*>(buffer), bufferLength(length), skip,
                                   kvrfs::KeyFrameStep::Previous, n, pos);
    });
}

int32_t rfs_get_current_kframe(int handle, void* buffer, int length, int* skip, rfs_read_pos_t* pos) {
    return guarded([&] {
        return kvrfs::readKeyFrame(handle, static_cast<unsigned char*>(buffer), bufferLength(length), skip,
                                   kvrfs::KeyFrameStep::Current, 0, pos);
    });
}

int32_t rfs_read_pic(int handle, const rfs_pic_t* pic, void* buffer, int length, int* externLength) {
    return guarded([&] {
        return kvrfs::readPicture(handle, pic, static_cast<unsigned char*>(buffer),
                                  length < 0 ? 0 : static_cast<std::size_t>(length), externLength);
    });
}

int32_t rfs_read_stop(int handle) {
    return guarded([&] { return kvrfs::readStop(handle); });
}

int32_t rfs_get_first_thumbnail(int, int, uint32_t record_id, uint32_t thumbnail_offset, int, int, int, int,
                                void* buffer, int* size) {
    return guarded(
        [&] { return kvrfs::readThumbnail(record_id, thumbnail_offset, static_cast<unsigned char*>(buffer), size); });
}

int32_t rfs_get_start_end_time(rfs_time_t* start, rfs_time_t* end) {
    return guarded([&] {
        if (start == nullptr || end == nullptr) {
            kvrfs::message("invalid time\n");
            return kInvalidTime;
        }
        const kvrfs::RecordingSpan span = kvrfs::recordingSpan();
        *start = span.start == 0 ? rfs_time_t{} : rfs::toRfsTime(span.start);
        *end = span.start == 0 ? rfs_time_t{} : rfs::toRfsTime(span.end);
        return 0;
    });
}

int32_t rfs_is_chn_have_record(uint8_t* channel_bits, rfs_time_t start, rfs_time_t end) {
    return guarded([&] {
        if (channel_bits == nullptr)
            return kvrfs::kExportFailed;
        return kvrfs::findChannelsWithRecordings(channel_bits, start, end);
    });
}
}
