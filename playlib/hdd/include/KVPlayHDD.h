/* KVPlayHDD: reader of a recorder's rfs store on a hard disk, a disk image or in a folder. */
#ifndef KVPLAYHDD_H
#define KVPLAYHDD_H

#include <stdint.h>

#include "rfs/rfs_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define KVRFS_API __attribute__((visibility("default")))

enum {
    KVRFS_OK = 0,
    KVRFS_ERR_FAILED = -1,
    KVRFS_ERR_DISK_ID = -10,
    KVRFS_ERR_NO_MEMORY = -12
};

#define KVRFS_MAX_DISKS 26
#define KVRFS_DISK_PARAM_SIZE 128

/* max_rec_chn 1..128, moarea_nums >= 1. Clears the handle tables; attached disks stay. */
KVRFS_API int32_t KVrfs_init_hdd(int max_rec_chn, int moarea_nums);

/* 0: the store path names a drive or disk image; non-zero: it names a directory store. */
KVRFS_API int32_t KVrfs_mode_set(int mode);

/* disk_id 0..25; disk_type 1 marks a redundant disk; group 0..25; disk_flags is ignored. */
KVRFS_API int32_t KVrfs_add_disk_hdd(int disk_id, const char* path, int disk_type, int group, const char* disk_flags);

KVRFS_API int32_t KVrfs_remove_disk_hdd(int disk_id);

/* Copies the raw, unvalidated 128-byte parameter block of the store at path into param. */
KVRFS_API int32_t get_disk_param_hdd(const char* path, void* param);

/* As get_disk_param_hdd, with the free file count of all partitions filled in. */
KVRFS_API int32_t get_disk_param_size(const char* path, void* param);

/* Searches. Search types 2 and 3 return a search handle (0..63), search types 0 and 1 return 64.
   out: search type 2, an rfs_event_list_t* receiving slot 0; month search, 31 uint32_t day masks. */
KVRFS_API int32_t KVrfs_find_start_hdd(const rfs_find_param_t* param, void* out);
KVRFS_API int32_t KVrfs_find_stop_hdd(int handle);
/* The slot's list; it belongs to the handle until KVrfs_find_stop_hdd. */
KVRFS_API int32_t KVrfs_get_event_hdd(int handle, int slot, rfs_event_list_t* out);
/* mode 0: the first event running at or after seek_start; other: the last one before seek_end. */
KVRFS_API int32_t KVrfs_event_seek_hdd(int handle, int slot, const rfs_time_t* seek_start,
                                       const rfs_time_t* seek_end, int mode);
KVRFS_API int32_t KVrfs_get_current_event_hdd(int handle, int slot, rfs_event_t* out);
KVRFS_API int32_t KVrfs_get_pre_event_hdd(int handle, int slot, rfs_event_t* out);
KVRFS_API int32_t KVrfs_get_next_event_hdd(int handle, int slot, rfs_event_t* out);
/* A picture search (data_type 1) lists its pictures in slot 0, by time and channel; out receives
   the list and at most 5000 of them. The list belongs to the handle until KVrfs_find_stop_hdd. */
KVRFS_API int32_t KVrfs_get_pic_hdd(int handle, int slot, rfs_pic_list_t* out);

/* Reading. Buffers are a multiple of 4096 bytes; the first *skip bytes delivered are not the
   event's. Results: bytes delivered, 0 at the end of the event, or a negative code. */
KVRFS_API int32_t KVrfs_read_start_hdd(int chn);
/* direction 1: the key frame at or before the time; other: at or after it. */
KVRFS_API int32_t KVrfs_tseek_hdd(int handle, const rfs_time_t* seek_time, int direction, int unused,
                                  const rfs_event_t* event, int end_at_last_key_frame);
KVRFS_API int32_t KVrfs_read_hdd(int handle, void* buffer, int length, int* skip, rfs_read_pos_t* pos);
KVRFS_API int32_t KVrfs_get_next_kframe_hdd(int handle, void* buffer, int length, int* skip, int n,
                                            rfs_read_pos_t* pos);
KVRFS_API int32_t KVrfs_get_prev_kframe_hdd(int handle, void* buffer, int length, int* skip, int n,
                                            rfs_read_pos_t* pos);
KVRFS_API int32_t KVrfs_get_current_kframe_hdd(int handle, void* buffer, int length, int* skip,
                                               rfs_read_pos_t* pos);
/* Reads the whole 4 KiB blocks holding a listed picture; its frame record starts *externLength bytes
   into the buffer. Results: bytes read, 0 when the buffer is too small, or a negative code. */
KVRFS_API int32_t KVrfs_read_pic_hdd(int handle, const rfs_pic_t* pic, void* buffer, int length,
                                     int* externLength);
KVRFS_API int32_t KVrfs_read_stop_hdd(int handle);

/* Labels. operation 0 adds (to the first attached disk; result disk id << 24 | label number), 1 deletes,
 * 2 renames (result 0). -1 on failure, -34 when the disk has no label area. */
KVRFS_API int32_t rfs_set_label(int operation, const rfs_label_request_t* request);
/* Labels of the chosen channels in the span whose names contain pattern (null or "" for all), one list per
 * channel, or all in slot 0 when search_type is 2. Sorted by time. 0 or -1. */
KVRFS_API int32_t rfs_find_label_start(const rfs_find_param_t* param, const char* pattern);
KVRFS_API int32_t rfs_get_label(int slot, rfs_label_list_t* out);
KVRFS_API int32_t rfs_find_label_stop(void);

#ifdef __cplusplus
}
#endif

#endif
