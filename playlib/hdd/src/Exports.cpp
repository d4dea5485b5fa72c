// The library's C interface: thin wrappers that keep exceptions inside the library.
#include "KVPlayHDD.h"

#include "DiskAttach.h"
#include "DiskProbe.h"
#include "EventCursor.h"
#include "ExportGuard.h"
#include "LabelEdit.h"
#include "LabelSearch.h"
#include "PictureRead.h"
#include "ReadHandles.h"
#include "SearchControl.h"
#include "StreamRead.h"
#include "TimeSeek.h"

using kvrfs::bufferLength;
using kvrfs::guarded;

extern "C" {

int32_t KVrfs_init_hdd(int max_rec_chn, int moarea_nums) {
    return guarded([&] { return kvrfs::initReader(max_rec_chn, moarea_nums); });
}

int32_t KVrfs_mode_set(int mode) {
    return guarded([&] { return kvrfs::setAccessModeByte(mode); });
}

int32_t KVrfs_add_disk_hdd(int disk_id, const char* path, int disk_type, int group, const char* /*disk_flags*/) {
    return guarded([&] { return kvrfs::attachDisk(disk_id, path, disk_type, group); });
}

int32_t KVrfs_remove_disk_hdd(int disk_id) {
    return guarded([&] { return kvrfs::removeDisk(disk_id); });
}

int32_t get_disk_param_hdd(const char* path, void* param) {
    return guarded([&] { return kvrfs::probeDiskParam(path, param); });
}

int32_t get_disk_param_size(const char* path, void* param) {
    return guarded([&] { return kvrfs::probeDiskParamWithFreeFiles(path, param); });
}

int32_t KVrfs_find_start_hdd(const rfs_find_param_t* param, void* out) {
    return guarded([&] { return kvrfs::findStart(param, out); });
}

int32_t KVrfs_find_stop_hdd(int handle) {
    return guarded([&] { return kvrfs::findStop(handle); });
}

int32_t KVrfs_get_event_hdd(int handle, int slot, rfs_event_list_t* out) {
    return guarded([&] { return kvrfs::getEventList(handle, slot, out); });
}

int32_t KVrfs_event_seek_hdd(int handle, int slot, const rfs_time_t* seek_start, const rfs_time_t* seek_end, int mode) {
    return guarded([&] { return kvrfs::seekEvent(handle, slot, seek_start, seek_end, mode); });
}

int32_t KVrfs_get_current_event_hdd(int handle, int slot, rfs_event_t* out) {
    return guarded([&] { return kvrfs::moveCursor(handle, slot, kvrfs::CursorMove::Current, out); });
}

int32_t KVrfs_get_pre_event_hdd(int handle, int slot, rfs_event_t* out) {
    return guarded([&] { return kvrfs::moveCursor(handle, slot, kvrfs::CursorMove::Previous, out); });
}

int32_t KVrfs_get_next_event_hdd(int handle, int slot, rfs_event_t* out) {
    return guarded([&] { return kvrfs::moveCursor(handle, slot, kvrfs::CursorMove::Next, out); });
}

int32_t KVrfs_get_pic_hdd(int handle, int slot, rfs_pic_list_t* out) {
    return guarded([&] { return kvrfs::getPictureList(handle, slot, out); });
}

int32_t KVrfs_read_start_hdd(int chn) {
    return guarded([&] { return kvrfs::readStart(chn); });
}

int32_t KVrfs_tseek_hdd(int handle, const rfs_time_t* seek_time, int direction, int /*unused*/,
                        const rfs_event_t* event, int end_at_last_key_frame) {
    return guarded([&] { return kvrfs::timeSeek(handle, seek_time, direction, event, end_at_last_key_frame); });
}

int32_t KVrfs_read_hdd(int handle, void* buffer, int length, int* skip, rfs_read_pos_t* pos) {
    return guarded([&] {
        return kvrfs::readSequential(handle, static_cast<unsigned char*>(buffer), bufferLength(length), skip, pos);
    });
}

int32_t KVrfs_get_next_kframe_hdd(int handle, void* buffer, int length, int* skip, int n, rfs_read_pos_t* pos) {
    return guarded([&] {
        return kvrfs::readKeyFrame(handle, static_cast<unsigned char*>(buffer), bufferLength(length), skip,
                                   kvrfs::KeyFrameStep::Next, n, pos);
    });
}

int32_t KVrfs_get_prev_kframe_hdd(int handle, void* buffer, int length, int* skip, int n, rfs_read_pos_t* pos) {
    return guarded([&] {
        return kvrfs::readKeyFrame(handle, static_cast<unsigned char*>(buffer), bufferLength(length), skip,
                                   kvrfs::KeyFrameStep::Previous, n, pos);
    });
}

int32_t KVrfs_get_current_kframe_hdd(int handle, void* buffer, int length, int* skip, rfs_read_pos_t* pos) {
    return guarded([&] {
        return kvrfs::readKeyFrame(handle, static_cast<unsigned char*>(buffer), bufferLength(length), skip,
                                   kvrfs::KeyFrameStep::Current, 0, pos);
    });
}

int32_t KVrfs_read_pic_hdd(int handle, const rfs_pic_t* pic, void* buffer, int length, int* externLength) {
    return guarded([&] {
        return kvrfs::readPicture(handle, pic, static_cast<unsigned char*>(buffer),
                                  length < 0 ? 0 : static_cast<std::size_t>(length), externLength);
    });
}

int32_t KVrfs_read_stop_hdd(int handle) {
    return guarded([&] { return kvrfs::readStop(handle); });
}

int32_t rfs_set_label(int operation, const rfs_label_request_t* request) {
    return guarded([&] { return kvrfs::setLabel(operation, request); });
}

int32_t rfs_find_label_start(const rfs_find_param_t* param, const char* pattern) {
    return guarded([&] { return kvrfs::findLabelStart(param, pattern); });
}

int32_t rfs_get_label(int slot, rfs_label_list_t* out) {
    return guarded([&] { return kvrfs::getLabels(slot, out); });
}

int32_t rfs_find_label_stop(void) {
    return guarded([] { return kvrfs::findLabelStop(); });
}
}
