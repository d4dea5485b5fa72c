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

#ifdef __cplusplus
}
static_assert(sizeof(rfs_time_t) == 8);
static_assert(offsetof(rfs_time_t, year) == 6);
#endif

#endif
