/* KVPlay: the player library. Play instances take frame records (the 40-byte header and its payload),
 * decode them and show the pictures at the pace of their timestamps; record files write frame records
 * into MP4 (and later AVI and private) files.
 *
 * Conventions: every instance function takes the handle from KVPlayCreatePlayInstance first; a null
 * handle gives -1 unless said otherwise. Results: 0 success, -1 failure or not supported, -2 resources
 * shortage, KVPLAY_E_OUTOFMEMORY from KVPlayInputNetFrame when the input queue held more than 200 frames
 * (the frame is still accepted). Times are microseconds since 1970-01-01 by UTC rules. A window is an
 * X11 window id (0 = none). Callbacks run on the engine's threads; they may call the instance's
 * functions but must not stop or destroy it (the stop would wait for the callback itself). */
#ifndef KVPLAY_H
#define KVPLAY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define KVPLAY_API __attribute__((visibility("default")))

#define KVPLAY_E_OUTOFMEMORY ((int32_t)0x8007000E)

/* Message codes given to the message callback. */
#define KVPLAY_MSG_NEED_MORE_DATA 1     /* type 1: the input queue drained below 100 after passing 200 */
#define KVPLAY_MSG_STREAM_END 11        /* decoding reached the end-of-stream marker (a null frame) */
#define KVPLAY_MSG_RESOURCE_SHORTAGE 21 /* first resources shortage since KVPlayClearFlag */
#define KVPLAY_MSG_FISHEYE_STREAM_ON 34
#define KVPLAY_MSG_FISHEYE_STREAM_OFF 35

/* Play modes of KVPlaySetPlayMode. */
#define KVPLAY_MODE_NORMAL 1
#define KVPLAY_MODE_RESTART 2
#define KVPLAY_MODE_PAUSE 3
#define KVPLAY_MODE_SLOW_2 4  /* 5, 6, 7: 4, 8, 16 times slower */
#define KVPLAY_MODE_FAST_2 16 /* 17, 18, 19: 4, 8, 16 times faster; 17..20 play key frames only */
#define KVPLAY_MODE_KEY_FRAMES 20
#define KVPLAY_MODE_SINGLE_FRAME 48
#define KVPLAY_MODE_BLANK 49
#define KVPLAY_MODE_RESTART_REVERSE 50

typedef void (*KVPlayMessageCallback)(int32_t code, void* user);

/* A decoded picture: the frame header it came from and I420 planes. */
typedef struct KVPlayPictureDescriptor {
    uint8_t header[40];
    uint8_t* luma;
    uint8_t* chromaU;
    uint8_t* chromaV;
    int32_t width;
    int32_t height;
    int32_t lumaStride;
    int32_t chromaStride;
    uint8_t still; /* the picture registered with KVPlayRegisterPictureCallback */
    uint8_t channel;
} KVPlayPictureDescriptor;

/* The caller decodes instead of the engine: write the I420 picture into the descriptor's planes (sized
 * from the header's width and height) and return 0; any other result drops the frame. */
typedef int32_t (*KVPlayDecodeCallback)(const void* frame, KVPlayPictureDescriptor* picture, void* user);
/* Called with every picture before it is drawn: 1 draw it, 0 the caller handled it, else a failure. */
typedef int32_t (*KVPlayRenderCallback)(KVPlayPictureDescriptor* picture, void* user);

typedef struct KVPlayCallbackTable {
    void* user;
    KVPlayDecodeCallback decode;
    KVPlayRenderCallback render;
    void* audioDecode;
    void* audioOutput;
    void* reserved[248];
} KVPlayCallbackTable;

/* Third argument of KVPlaySetPlayWndEx. */
typedef struct KVPlayPlayOptions {
    uint32_t renderer;        /* 0 the surface renderer, other values the scaling renderer */
    uint8_t noHardwareDecode; /* nonzero: this instance never decodes on a GPU */
    uint8_t decodeAndRender;  /* nonzero with a window: the decoder draws by itself */
    uint8_t reserved[254];
} KVPlayPlayOptions;

typedef struct KVPlayLogConfig {
    char path[256]; /* appended to; empty: no file */
    const char* text;
} KVPlayLogConfig;

/* What the picture callback receives for each picture: a top-down 24-bit BMP file image (rows padded to
 * 4 bytes) and the picture's time. Valid during the call only. */
typedef struct KVPlayPicture {
    const uint8_t* bmp;
    uint32_t size;
    int64_t time;
    uint8_t reserved[40];
} KVPlayPicture;
typedef void (*KVPlayPictureCallback)(const KVPlayPicture* picture, void* user);

/* Argument of KVPlayRegisterPictureCallback: pictures go to the callback instead of a window; the BMP
 * (24 bits, uncompressed), when given, is shown as the still picture before playback starts. */
typedef struct KVPlayPictureCallbackSetup {
    KVPlayPictureCallback callback;
    void* user;
    const void* bmp;
    uint32_t bmpSize;
} KVPlayPictureCallbackSetup;

/* What is drawn over pictures in a window. A drawing context (dc) is a cairo_t* on the window's back
 * buffer, valid during the call only. */
typedef void (*KVPlayDrawFunction)(void* dc, int32_t width, int32_t height, void* user, int32_t left, int32_t top);

/* The wrapper draw callback's record: the picture's rectangle in the window; KVPlaySetColor,
 * KVPlayDrawLine, KVPlayDrawRect, KVPlayDrawSolidRect, KVPlayDrawText and KVPlayDrawPicture draw on it
 * during the call (coordinates as fractions of that rectangle). */
typedef struct KVPlayDrawInfo {
    void* dc;
    int32_t width;
    int32_t height;
    int32_t left;
    int32_t top;
    uint8_t reserved[64];
} KVPlayDrawInfo;
typedef void (*KVPlayWrapperDrawCallback)(const KVPlayDrawInfo* info, void* user);

/* One of 36 text slots drawn over the pictures (KVPlaySetOsdString). */
typedef struct KVPlayOsdItem {
    char fontFace[24];
    int32_t fontWidth;
    int32_t fontHeight; /* pixels */
    uint8_t red, green, blue;
    int32_t left, top, right, bottom; /* window pixels */
    char text[128];                   /* UTF-8 */
} KVPlayOsdItem;

/* ---- Library ---- */
KVPLAY_API int32_t KVPlayInitPlayLib(int32_t decodePolicy, int32_t reserved, const char* libraryDir);
KVPLAY_API int32_t KVPlayDeinitPlayLib(void);
KVPLAY_API void KVPlayInitLog(const KVPlayLogConfig* config);
KVPLAY_API int32_t KVPlayGetSDKVesion(char* buffer);
KVPLAY_API int32_t KVPlayGetLastError(int32_t, int32_t);
KVPLAY_API int32_t KVPlaySetMaxHardwareDecodeNumber(int32_t n);
/* Bit 0 clears the shortage counter; always re-arms message 21. Returns whether it had been sent. */
KVPLAY_API int32_t KVPlayClearFlag(uint32_t flags);
/* Types: 0 local file, 1 stored-stream playback, 2 live stream, 3 two-way talk, 4 synchronised group,
 * 6 decode only, 7 local file thumbnail. Null for any other type. */
KVPLAY_API void* KVPlayCreatePlayInstance(int32_t type);
KVPLAY_API void* KVPlayCreatePlayInstanceEx(int32_t type, uint32_t reserved);
KVPLAY_API int32_t KVPlayDestroyPlayInstance(void* handle);
KVPLAY_API int32_t KVPlayFishGetChnNums(int32_t fisheyeMode);

/* ---- Playback and queue ---- */
KVPLAY_API int32_t KVPlaySetPlayWnd(void* handle, uintptr_t window);
KVPLAY_API int32_t KVPlaySetPlayWndEx(void* handle, uintptr_t window, const KVPlayPlayOptions* options);
KVPLAY_API int32_t KVPlayStartPlay(void* handle);
KVPLAY_API int32_t KVPlayStopPlay(void* handle);
/* frame: header + payload, length = payload length + 40; null queues the end-of-stream marker. */
KVPLAY_API int32_t KVPlayInputNetFrame(void* handle, const void* frame, int32_t length);
KVPLAY_API int32_t KVPlaySetNetPlayBufNum(void* handle, int32_t maxFrames);
KVPLAY_API int32_t KVPlayGetNetPlayBufNum(void* handle);
KVPLAY_API int32_t KVPlayClearFrameBuffer(void* handle);
KVPLAY_API int32_t KVPlayClearTime(void* handle);
KVPLAY_API int32_t KVPlaySetCushionRange(void* handle, int32_t enable, int32_t milliseconds);
KVPLAY_API int32_t KVPlaySetPlayMode(void* handle, int32_t mode, int32_t ignored);
KVPLAY_API int32_t KVPlaySetPlayModeEx(void* handle, int32_t mode, int32_t parameter);
KVPLAY_API int32_t KVPlayGetPlayMode(void* handle);
KVPLAY_API int64_t KVPlayGetCurPlayedTime(void* handle);
KVPLAY_API int32_t KVPlaySetCurPlayedTime(void* handle, uint32_t low, uint32_t high);
KVPLAY_API int32_t KVPlaySetCurPlayedTimeEX(void* handle, uint32_t low, uint32_t high);
KVPLAY_API int32_t KVPlayGetFrameRate(void* handle);
KVPLAY_API int32_t KVPlayGetBitRate(void* handle);
/* Six int32: frames per second, bits per second, width, height, codec, smart-codec flag. */
KVPLAY_API int32_t KVPlayGetFrameInfo(void* handle, int32_t* info);
/* Six int32: input frames per second, bits per second, then zeros (live instances). */
KVPLAY_API int32_t KVPlayGetNetFrameInfo(void* handle, int32_t* info);
KVPLAY_API void KVPlayClearFlagEx(void* handle, uint32_t flags);
KVPLAY_API int32_t KVPlayGetPlayPicSize(void* handle, int32_t* width, int32_t* height);
KVPLAY_API int32_t KVPlayRePaint(void* handle);
KVPLAY_API int32_t KVPlayNSynchroRePaint(void* handle);
KVPLAY_API int32_t KVPlayGetPlayWnd(void* handle);
KVPLAY_API int32_t KVPlayDelPlayWnd(void* handle, int32_t);
KVPLAY_API int32_t KVPlayGetCurrentFrameNo(void* handle);
KVPLAY_API int32_t KVPlayGetTotalFrames(void* handle);
KVPLAY_API int32_t KVPlayGetListFrameNum(void* handle);
KVPLAY_API int32_t KVPlayRefreshImage(void* handle);
KVPLAY_API int32_t KVPlaySetHardWareDecode(void* handle);
KVPLAY_API int32_t KVPlayGetImageiBpp(void* handle);
KVPLAY_API int32_t KVPlaySetPlayPicSize(void* handle, int32_t, int32_t);
KVPLAY_API int32_t KVPlayHardwareStretch(void* handle, int32_t, int32_t);
KVPLAY_API int32_t KVPlayImageCallback(void* handle, void*, void*);
KVPLAY_API int32_t KVPlayRegisterDecCallback(void* handle, void*, void*);
KVPLAY_API int32_t KVPlaySetRenderEffect(void* handle, int32_t);
KVPLAY_API void KVPlaySetRenderStatus(void* handle, int32_t);
KVPLAY_API int32_t _KVPlayWindowInZoomStatus_4(void* handle);
KVPLAY_API int32_t KVPlayRegisterManyCallbacks(void* handle, const KVPlayCallbackTable* table);

/* ---- Sound ---- */
KVPLAY_API int32_t KVPlayOpenSound(void* handle);
KVPLAY_API int32_t KVPlayCloseSound(void* handle);
KVPLAY_API int32_t KVPlaySetPlayVolume_s(void* handle, int32_t volume);
KVPLAY_API int32_t KVPlayGetPlayVolume_s(void* handle);
KVPLAY_API int32_t KVPlaySetMute_s(void* handle, int32_t mute);
KVPLAY_API int32_t KVPlayGetMute_s(void* handle);
KVPLAY_API int32_t KVPlayRegisterSetAudioDbCallback(void* handle, void* callback, void* user);
KVPLAY_API int32_t KVPlaySetPlayVolume(void* handle);
KVPLAY_API int32_t KVPlayGetPlayVolume(void);
KVPLAY_API int32_t KVPlaySetMute(void* handle);
KVPLAY_API int32_t KVPlayGetMute(void);
KVPLAY_API int32_t KVPlaySetMicMute(void* handle);
KVPLAY_API int32_t KVPlayGetMicMute(void);
KVPLAY_API int32_t KVPlaySetMicPlayVolume(void* handle);
KVPLAY_API int32_t KVPlayGetMicPlayVolume(void);
KVPLAY_API int32_t KVPlaySetPlayVolume_bysoft(void* handle, int32_t);
KVPLAY_API int32_t KVPlayGetAudioCaptureInfo(void* handle, void*);

/* ---- Snapshots ---- */
KVPLAY_API int32_t KVPlayCapturePicture(void* handle, const char* path);
KVPLAY_API int32_t KVPlayCapturePictureEx(void* handle, const char* const* path);
KVPLAY_API int32_t KVPlayCapturePictureToBuf(void* handle, void* callback, void* user, int32_t format);
KVPLAY_API int32_t KVPlaySetCapturePictureCallback(void* handle, int32_t format, void* callback, void* user);
KVPLAY_API int32_t KVPlayRegisterPictureCallback(void* handle, const KVPlayPictureCallbackSetup* setup);
KVPLAY_API int32_t KVPlayGetPosImage(void* handle, void* request);
KVPLAY_API int32_t KVPlayCapturePictureBuf(void* handle, void*);
KVPLAY_API int32_t KVPlayCapturePictureCallUser(void* handle, void*);

/* ---- Display and drawing ---- */
KVPLAY_API void KVPlayRenderActualProportion(void* handle, int32_t aspectMode);
KVPLAY_API int32_t KVPlaySetOsdString(void* handle, int32_t index, const void* item);
KVPLAY_API int32_t KVPlayRemoveOsdstring(void* handle, int32_t index);
KVPLAY_API int32_t KVPlayGetAllOsdstring(void* handle, void* items, void* enabled);
KVPLAY_API int32_t KVPlayRegisterDrawFun(void* handle, void* callback, void* user);
KVPLAY_API int32_t KVPlayRegisterDrawFun_s(void* handle, void* callback, void* user, int32_t reserved);
KVPLAY_API int32_t KVPlayRegisterBeforeRenderCallback(void* handle, void* callback, void* user);
KVPLAY_API int32_t KVPlayRegisterSdkwrapperDrawCallback(void* handle, void* callback, void* user);
KVPLAY_API int32_t KVPlayAdjustViewArea(void* handle, int32_t left, int32_t right, int32_t top, int32_t bottom);
KVPLAY_API int32_t KVPlaySetColor(void* handle, const float* rgb);
KVPLAY_API int32_t KVPlayDrawLine(void* handle, const float* lines, int32_t count);
KVPLAY_API int32_t KVPlayDrawRect(void* handle, const float* rects, int32_t count);
KVPLAY_API int32_t KVPlayDrawSolidRect(void* handle, const float* rects, int32_t count, float alpha);
KVPLAY_API int32_t KVPlayDrawHollowCircle(void* handle, const void* circle, int32_t count);
KVPLAY_API int32_t KVPlayDrawText(void* handle, const char* text, const float* rect);
KVPLAY_API int32_t KVPlayUploadPictureFromMemory(void* handle, const void* bytes, uint32_t size);
KVPLAY_API int32_t KVPlayDeletePicture(void* handle, int32_t id);
KVPLAY_API int32_t KVPlayDrawPicture(void* handle, int32_t id, const float* rect, float alpha);
KVPLAY_API void KVPlaySetZoomCallback(void* handle, void* callback, void* user);
KVPLAY_API int32_t KVPlayFishSetMode(void* handle, int32_t mode);
KVPLAY_API int32_t KVPlayFishControl(void* handle, void* control);
KVPLAY_API int32_t KVShowWaterMark(void* handle);
KVPLAY_API void KVUseWaterMarkDecorder(void* handle);

/* ---- Messages ---- */
KVPLAY_API int32_t KVPlaySetCallbackMessage(void* handle, uintptr_t window, uint32_t messageId, void* user);
KVPLAY_API int32_t KVPlaySetCallbackMessageEx(void* handle, KVPlayMessageCallback callback, void* user);
KVPLAY_API int32_t KVPlaySetCrossDayCallbackMessageEx(void* handle, KVPlayMessageCallback callback, void* user);

/* ---- Local recording and file conversion ---- */
KVPLAY_API int32_t KVPlayStartlocalrecord(void* handle, uint32_t a, uint32_t b, uint32_t c);
KVPLAY_API int32_t KVPlayStartlocalrecordFile(void* handle, const void* parameters);
KVPLAY_API int32_t KVPlayStartlocalrecordFileEx(void* handle, const void* parameters);
KVPLAY_API int32_t KVPlayStoplocalrecord(void* handle, int64_t* begin, int64_t* end);
KVPLAY_API int32_t KVPlaySwitchRecordFile(void* handle, const char* path, void* parameter, int32_t ignored);
KVPLAY_API int32_t KVPlayCreatePicbylocalFile(void* handle, const void* paths);
KVPLAY_API int32_t KVPlay264ToAviStart(void* handle, const char* source, const char* destination, void* user,
                                       void* progress);
KVPLAY_API int32_t KVPlayConvertFileStart(void* handle, const char* source, const char* destination, void* user,
                                          void* progress);
KVPLAY_API int32_t KVPlay264ToAviStop(void* handle);
KVPLAY_API int32_t KVPlayConvertFileStop(void* handle);

/* ---- Local file playback ---- */
KVPLAY_API int32_t KVPlayOpenPlayFile(void* handle, const char* path);
KVPLAY_API int32_t KVPlayOpenPlayFileList(void* handle, void*, int32_t, int32_t);
KVPLAY_API int32_t KVPlayOpenPlayFileListEx(void* handle, const void* records, int32_t count);
KVPLAY_API int32_t KVPlayNewOpenPlayFileListEx(void* handle, const void* list);
KVPLAY_API int32_t KVPlayNewOpenPlayFileListExV1(void* handle, const void* list);
KVPLAY_API int32_t KVPlayClosePlayFile(void* handle);
KVPLAY_API int32_t KVPlayGetPlayFileTimeRange(void* handle, int64_t* first, int64_t* last);
KVPLAY_API int32_t KVPlayGetKeyFrameCount(void* handle);
KVPLAY_API int32_t KVPlaySeekByKeyFrameIndex(void* handle, int32_t index);
KVPLAY_API int32_t KVPlayGetFileInfo(void* info);

/* ---- Two-way talk ---- */
KVPLAY_API int32_t KVPlayStartDualTalk(void* handle, const int32_t* parameters);
KVPLAY_API int32_t KVPlayStartDualTalk_V1(void* handle, const void* parameters);
KVPLAY_API int32_t KVPlaySendDualTalkData(void* handle, const void* pcm, int32_t length);
KVPLAY_API int32_t KVPlayStopDualTalk(void* handle);
KVPLAY_API int32_t KVPlayRegisterSetDualCallback(void* handle, void* callback, void* user);

/* ---- Synchronised play ---- */
KVPLAY_API int32_t KVPlayAddSyncPlayInstance(void* syncHandle, void* instance);
KVPLAY_API int32_t KVPlayDelSyncPlayInstance(void* syncHandle, void* instance);

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
