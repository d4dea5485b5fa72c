/* KVPlaySD: reader of a recorder's rfs store on an SD card (a folder of index and data files). The calls
   behave as their KVPlayHDD namesakes unless said otherwise here. */
#ifndef KVPLAYSD_H
#define KVPLAYSD_H

#include <stdint.h>

#include "rfs/rfs_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define KVRFS_SD_API __attribute__((visibility("default")))

#define KVRFS_SD_MAX_DISKS 16

KVRFS_SD_API int32_t rfs_init(int max_rec_chn, int moarea_nums);
/* disk_id 0..15; disk_type 1 marks a redundant card; group 0..15, other groups are refused. */
KVRFS_SD_API int32_t rfs_add_disk(int disk_id, const char* path, int disk_type, int group, const char* disk_flags);
KVRFS_SD_API int32_t rfs_remove_disk(int disk_id);

/* Search type 1: out receives 48 uint32_t, the record types found in each half hour of the span's day.
   find_mode 1 searches normal cards only, 2 redundant ones only; 4 (search types 2 and 3) lists at least
   num events (0..100000) of the last recording days, a whole day at a time, back from the end time (from
   the latest recording when the end time is zero). out of search type 2: an rfs_sd_event_list_t*. */
KVRFS_SD_API int32_t rfs_find_start(const rfs_find_param_t* param, void* out, int num);
KVRFS_SD_API int32_t rfs_find_stop(int handle);
KVRFS_SD_API int32_t rfs_get_event(int handle, int slot, rfs_sd_event_list_t* out);
KVRFS_SD_API int32_t rfs_event_seek(int handle, int slot, const rfs_time_t* seek_start, const rfs_time_t* seek_end,
                                    int mode);
KVRFS_SD_API int32_t rfs_get_current_event(int handle, int slot, rfs_sd_event_t* out);
KVRFS_SD_API int32_t rfs_get_pre_event(int handle, int slot, rfs_sd_event_t* out);
KVRFS_SD_API int32_t rfs_get_next_event(int handle, int slot, rfs_sd_event_t* out);
KVRFS_SD_API int32_t rfs_get_pic(int handle, int slot, rfs_pic_list_t* out);

KVRFS_SD_API int32_t rfs_read_start(int chn);
KVRFS_SD_API int32_t rfs_tseek(int handle, const rfs_time_t* seek_time, int direction, int unused,
                               const rfs_sd_event_t* event);
/* As rfs_tseek for an event read from the card's index by its record_id and event_idx: it need not be
   listed by a search. */
KVRFS_SD_API int32_t rfs_tseek_for_index(int handle, const rfs_time_t* seek_time, int direction, int unused,
                                         const rfs_sd_event_t* event);
KVRFS_SD_API int32_t rfs_read(int handle, void* buffer, int length, int* skip, rfs_read_pos_t* pos);
KVRFS_SD_API int32_t rfs_get_next_kframe(int handle, void* buffer, int length, int* skip, int n, rfs_read_pos_t* pos);
KVRFS_SD_API int32_t rfs_get_prev_kframe(int handle, void* buffer, int length, int* skip, int n, rfs_read_pos_t* pos);
KVRFS_SD_API int32_t rfs_get_current_kframe(int handle, void* buffer, int length, int* skip, rfs_read_pos_t* pos);
KVRFS_SD_API int32_t rfs_read_pic(int handle, const rfs_pic_t* pic, void* buffer, int length, int* externLength);
KVRFS_SD_API int32_t rfs_read_stop(int handle);

/* The thumbnail frame record ('T') at thumbnail_offset of the event's data file into buffer; *size is the
   buffer's length in and the record's length out. The ignored arguments keep the recorder's call shape. */
KVRFS_SD_API int32_t rfs_get_first_thumbnail(int ignored1, int ignored2, uint32_t record_id, uint32_t thumbnail_offset,
                                             int ignored5, int ignored6, int ignored7, int ignored8, void* buffer,
                                             int* size);
/* The earliest recording start and the latest recording end of all attached cards; zero without any. */
KVRFS_SD_API int32_t rfs_get_start_end_time(rfs_time_t* start, rfs_time_t* end);
/* Sets bit c of channel_bits (32 bytes) for every channel c with a recording in the span. */
KVRFS_SD_API int32_t rfs_is_chn_have_record(uint8_t* channel_bits, rfs_time_t start, rfs_time_t end);

#ifdef __cplusplus
}
#endif

#endif
