/* KVPlay: the player library. Record files: frame records written into MP4 (and later AVI and private)
 * files. */
#ifndef KVPLAY_H
#define KVPLAY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define KVPLAY_API __attribute__((visibility("default")))

/* The writer accepted the frame, and the recorder's calendar day changed with it. */
#define KVPLAY_RECORD_DAY_CHANGED 2

/* A record file opened for writing. The format follows the extension: the first three characters after
 * the last '.', case-sensitively: "mp4" MP4, "avi" AVI, anything else the private format. Null when the
 * path has no '.', the format cannot be written or the file cannot be opened. */
KVPLAY_API void* KVPlayCreateRecordFile(const char* path_utf8, int unused);

/* One frame record, length = 40-byte header + payload. 0 accepted, KVPLAY_RECORD_DAY_CHANGED accepted
 * on a new day, -1 on a null argument or when the writer refused or failed to write the frame. */
KVPLAY_API int32_t KVPlayInputRecordFile(void* record_file, const uint8_t* frame, int length, int unused);

/* Finalises and closes the file and frees the handle. 0; -1 when finalising failed or the handle is null. */
KVPLAY_API int32_t KVPlayDestroyRecordFile(void* record_file);

#ifdef __cplusplus
}
#endif

#endif
