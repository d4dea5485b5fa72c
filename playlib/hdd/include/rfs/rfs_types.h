/* Records the store readers exchange with their callers. Plain C so every caller can include it. */
#ifndef RFS_RFS_TYPES_H
#define RFS_RFS_TYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Broken-down recorder wall-clock time. */
typedef struct rfs_time_t {
    uint8_t reserved;
    uint8_t second;
    uint8_t minute;
    uint8_t hour;
    uint8_t day;
    uint8_t month;
    uint16_t year; /* year - 2000 */
} rfs_time_t;

/* Search parameters. */
typedef struct rfs_find_param_t {
    uint8_t data_type;   /* 0 recordings, 1 pictures, 2 labels (month search only) */
    uint8_t search_type; /* 0 month, 1 none, 2 merged into one list, 3 one list per channel */
    uint8_t find_mode;   /* 4: take a handle, search nothing */
    uint8_t reserved3;
    int32_t record_type; /* record type mask; -1 for all */
    int32_t chnCnt;      /* channel bits in chnBit */
    int32_t reserved12;
    rfs_time_t start;
    rfs_time_t end;
    int32_t skip_empty; /* non-zero: leave out events whose start equals their end */
    int32_t reserved36;
    const uint8_t* chnBit; /* bit c of byte c / 8 selects channel c */
    const uint32_t* integratedRecType;
    int32_t integratedRecTypeCount;
    int32_t reserved60;
} rfs_find_param_t;

/* One listed event. */
typedef struct rfs_event_t {
    uint8_t handle;
    uint8_t slot;
    uint8_t invalid; /* non-zero: skipped by the cursor, refused by the reader */
    uint8_t reserved3;
    int32_t index;      /* position in its sorted list */
    uint32_t record_id; /* disk id << 24 | partition << 16 | data file index */
    uint32_t rec_type;
    uint8_t chn;
    uint8_t norm;
    uint8_t res;
    uint8_t marked;
    uint8_t pass; /* 1: found on a redundant disk */
    uint8_t reserved21[3];
    rfs_time_t start;
    rfs_time_t end;
    uint32_t data_start;
    uint32_t data_len;
    uint32_t kf_top;
    uint32_t kf_low;
    uint32_t thumbnail_offset; /* SD card stores: the event's thumbnail record in its data file; else 0 */
    uint32_t reserved60;
    int32_t event_idx; /* event number within its file, from 0 */
    int32_t reserved68;
} rfs_event_t;

/* An out-parameter naming a list the library owns. */
typedef struct rfs_event_list_t {
    rfs_event_t* list;
    int count;
} rfs_event_list_t;

/* One listed event of an SD card. */
typedef struct rfs_sd_event_t {
    uint8_t handle;
    uint8_t slot;
    uint8_t invalid;
    uint8_t event_idx; /* event number within its file, from 0 */
    int32_t index;
    uint32_t record_id;
    uint32_t rec_type;
    uint8_t chn;
    uint8_t norm;
    uint8_t res;
    uint8_t pass; /* 1: found on a redundant card */
    uint8_t marked;
    uint8_t reserved21[3];
    rfs_time_t start;
    rfs_time_t end;
    uint32_t data_start;
    uint32_t data_len;
    uint32_t kf_top;
    uint32_t kf_low;
    uint32_t thumbnail_offset; /* the event's 'T' record in its data file */
    uint32_t reserved60;
} rfs_sd_event_t;

typedef struct rfs_sd_event_list_t {
    rfs_sd_event_t* list;
    int count;
} rfs_sd_event_list_t;

/* One listed picture. */
typedef struct rfs_pic_t {
    uint8_t handle;
    uint8_t reserved1;
    uint8_t invalid;    /* non-zero: refused by the reader */
    uint8_t entry;      /* number of the entry in its file's picture index */
    int32_t index;      /* position in the sorted list */
    uint32_t record_id; /* disk id << 24 | partition << 16 | data file index */
    uint32_t rec_type;
    uint8_t pic_chn;
    uint8_t reserved17[2];
    uint8_t pic_state;
    uint8_t reserved20[4];
    rfs_time_t time;
    uint32_t position; /* 4 KiB-aligned block | bytes before the frame record in it */
    uint32_t length;   /* the frame record as stored */
    uint32_t entry_reserved20;
    uint8_t entry_reserved26;
    uint8_t pass; /* 1: found on a redundant disk */
    uint16_t entry_reserved28;
} rfs_pic_t;

typedef struct rfs_pic_list_t {
    rfs_pic_t* list;
    int count;
} rfs_pic_list_t;

/* Filled by the read calls with the time of the key frame delivered, where they deliver one. */
typedef rfs_time_t rfs_read_pos_t;

/* What rfs_set_label adds, deletes or renames. */
typedef struct rfs_label_request_t {
    uint8_t chn; /* the channel an added label marks */
    uint8_t reserved1[2];
    uint8_t disk_id;     /* the disk of the label (delete, rename) */
    int32_t number;      /* the label number (delete, rename); additions store its low 16 bits with the label */
    uint8_t reserved8[8];
    rfs_time_t time;     /* the moment an added label marks */
    const char* name;    /* at most 43 characters (add, rename) */
} rfs_label_request_t;

/* One label found by rfs_find_label_start. */
typedef struct rfs_label_t {
    uint8_t chn;
    uint8_t reserved1;
    uint16_t value; /* stored with the label when it was added */
    uint8_t reserved4[4];
    rfs_time_t time;
    char name[40]; /* NUL-terminated; longer names are cut to 39 characters */
    uint32_t number;
    uint32_t disk_id; /* disk id << 24 */
} rfs_label_t;

typedef struct rfs_label_list_t {
    rfs_label_t* list;
    int count;
} rfs_label_list_t;

#ifdef __cplusplus
}
static_assert(sizeof(rfs_time_t) == 8);
static_assert(offsetof(rfs_time_t, year) == 6);
static_assert(sizeof(rfs_find_param_t) == 64);
static_assert(offsetof(rfs_find_param_t, start) == 16);
static_assert(offsetof(rfs_find_param_t, skip_empty) == 32);
static_assert(offsetof(rfs_find_param_t, chnBit) == 40);
static_assert(offsetof(rfs_find_param_t, integratedRecType) == 48);
static_assert(offsetof(rfs_find_param_t, integratedRecTypeCount) == 56);
static_assert(sizeof(rfs_event_t) == 72);
static_assert(offsetof(rfs_event_t, record_id) == 8);
static_assert(offsetof(rfs_event_t, chn) == 16);
static_assert(offsetof(rfs_event_t, start) == 24);
static_assert(offsetof(rfs_event_t, data_start) == 40);
static_assert(offsetof(rfs_event_t, thumbnail_offset) == 56);
static_assert(offsetof(rfs_event_t, event_idx) == 64);
static_assert(offsetof(rfs_label_request_t, disk_id) == 3);
static_assert(offsetof(rfs_label_request_t, number) == 4);
static_assert(offsetof(rfs_label_request_t, time) == 16);
static_assert(offsetof(rfs_label_request_t, name) == 24);
static_assert(sizeof(rfs_label_t) == 64);
static_assert(sizeof(rfs_sd_event_t) == 64);
static_assert(offsetof(rfs_sd_event_t, event_idx) == 3);
static_assert(offsetof(rfs_sd_event_t, pass) == 19);
static_assert(offsetof(rfs_sd_event_t, marked) == 20);
static_assert(offsetof(rfs_sd_event_t, start) == 24);
static_assert(offsetof(rfs_sd_event_t, thumbnail_offset) == 56);

static_assert(offsetof(rfs_label_t, value) == 2);
static_assert(offsetof(rfs_label_t, time) == 8);
static_assert(offsetof(rfs_label_t, name) == 16);
static_assert(offsetof(rfs_label_t, number) == 56);
static_assert(offsetof(rfs_label_t, disk_id) == 60);
static_assert(sizeof(rfs_pic_t) == 48);
static_assert(offsetof(rfs_pic_t, index) == 4);
static_assert(offsetof(rfs_pic_t, record_id) == 8);
static_assert(offsetof(rfs_pic_t, pic_chn) == 16);
static_assert(offsetof(rfs_pic_t, pic_state) == 19);
static_assert(offsetof(rfs_pic_t, time) == 24);
static_assert(offsetof(rfs_pic_t, position) == 32);
static_assert(offsetof(rfs_pic_t, entry_reserved20) == 40);
static_assert(offsetof(rfs_pic_t, pass) == 45);
static_assert(offsetof(rfs_pic_t, entry_reserved28) == 46);
static_assert(sizeof(rfs_pic_list_t) == 16);
#endif

#endif
