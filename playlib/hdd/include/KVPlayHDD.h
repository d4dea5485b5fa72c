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

#ifdef __cplusplus
}
#endif

#endif
