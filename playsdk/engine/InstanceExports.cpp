// The instance functions of the C interface: each reaches one operation of the handle's instance; a
// null handle answers -1 (or the function's own value for "nothing").
#include <array>
#include <cstdint>

#include "CPlayInstance.h"
#include "KVPlay.h"

using kvplay::CPlayInstance;

namespace {

template <typename Operation>
int32_t on(void* handle, Operation operation, int32_t none = -1) {
    return handle ? operation(*static_cast<CPlayInstance*>(handle)) : none;
}

int64_t joined(uint32_t low, uint32_t high) {
    return static_cast<int64_t>((uint64_t{high} << 32) | low);
}

// The three values of the short form of starting a local recording, as its parameter record.
std::array<uintptr_t, 3> packed(uint32_t a, uint32_t b, uint32_t c) {
    return {a, b, c};
}

int32_t timeRange(CPlayInstance& i, int64_t* first, int64_t* last) {
    if (first)
        *first = 0;
    if (last)
        *last = 0;
    return i.getFileTimeRange(first, last);
}

}  // namespace

extern "C" {

KVPLAY_API int32_t KVPlaySetPlayWnd(void* handle, uintptr_t window) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setWindow(window); });
}

KVPLAY_API int32_t KVPlaySetPlayWndEx(void* handle, uintptr_t window, const KVPlayPlayOptions* options) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setWindowEx(window, options); });
}

KVPLAY_API int32_t KVPlayStartPlay(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.start(); });
}

KVPLAY_API int32_t KVPlayStopPlay(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.stop(); });
}

KVPLAY_API int32_t KVPlayInputNetFrame(void* handle, const void* frame, int32_t length) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.inputFrame(frame, length); });
}

KVPLAY_API int32_t KVPlaySetNetPlayBufNum(void* handle, int32_t maxFrames) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setMaxInputFrames(maxFrames); });
}

KVPLAY_API int32_t KVPlayGetNetPlayBufNum(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.getInputQueueLength(); });
}

KVPLAY_API int32_t KVPlayClearFrameBuffer(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.clearFrameBuffers(); });
}

KVPLAY_API int32_t KVPlayClearTime(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.clearTimeAndStatistics(); });
}

KVPLAY_API int32_t KVPlaySetCushionRange(void* handle, int32_t enable, int32_t milliseconds) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setCushionRange(enable, milliseconds); });
}

KVPLAY_API int32_t KVPlaySetPlayMode(void* handle, int32_t mode, int32_t) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setPlayMode(mode, 0); });
}

KVPLAY_API int32_t KVPlaySetPlayModeEx(void* handle, int32_t mode, int32_t parameter) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setPlayMode(mode, parameter); });
}

KVPLAY_API int32_t KVPlayGetPlayMode(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.getPlayMode(); });
}

KVPLAY_API int32_t KVPlaySetCurPlayedTime(void* handle, uint32_t low, uint32_t high) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setCurPlayedTime(joined(low, high)); });
}

KVPLAY_API int32_t KVPlaySetCurPlayedTimeEX(void* handle, uint32_t low, uint32_t high) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setCurPlayedTimeEx(joined(low, high)); });
}

KVPLAY_API int32_t KVPlayGetFrameRate(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.getFrameRate(); });
}

KVPLAY_API int32_t KVPlayGetBitRate(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.getBitRate(); });
}

KVPLAY_API int32_t KVPlayGetFrameInfo(void* handle, int32_t* info) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.getFrameInfo(info); });
}

KVPLAY_API int32_t KVPlayGetNetFrameInfo(void* handle, int32_t* info) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.getNetFrameInfo(info); });
}

KVPLAY_API int32_t KVPlayGetPlayPicSize(void* handle, int32_t* width, int32_t* height) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.getPictureSize(width, height); });
}

KVPLAY_API int32_t _KVPlayWindowInZoomStatus_4(void* handle) {
    return on(
        handle, [](CPlayInstance& i) -> int32_t { return i.windowInZoomStatus() ? 1 : 0; }, 0);
}

KVPLAY_API int32_t KVPlayRegisterManyCallbacks(void* handle, const KVPlayCallbackTable* table) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.registerCallbackTable(table); });
}

KVPLAY_API int32_t KVPlayOpenSound(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.openSound(); });
}

KVPLAY_API int32_t KVPlayCloseSound(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.closeSound(); });
}

KVPLAY_API int32_t KVPlaySetPlayVolume_s(void* handle, int32_t volume) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setVolume(volume); });
}

KVPLAY_API int32_t KVPlayGetPlayVolume_s(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.getVolume(); });
}

KVPLAY_API int32_t KVPlaySetMute_s(void* handle, int32_t mute) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setMute(mute != 0); });
}

KVPLAY_API int32_t KVPlayGetMute_s(void* handle) {
    return on(
        handle, [](CPlayInstance& i) -> int32_t { return i.getMute(); }, 0);
}

KVPLAY_API int32_t KVPlayRegisterSetAudioDbCallback(void* handle, void* callback, void* user) {
    return on(handle, [&](CPlayInstance& i) -> int32_t {
        return callback && user ? i.registerAudioLevelCallback(callback, user) : -1;
    });
}

KVPLAY_API int32_t KVPlayCapturePicture(void* handle, const char* path) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.capturePicture(path); });
}

KVPLAY_API int32_t KVPlayCapturePictureEx(void* handle, const char* const* path) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.capturePictureEx(path); });
}

KVPLAY_API int32_t KVPlayCapturePictureToBuf(void* handle, void* callback, void* user, int32_t format) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.capturePictureToCallback(callback, user, format); });
}

KVPLAY_API int32_t KVPlaySetCapturePictureCallback(void* handle, int32_t format, void* callback, void* user) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setCapturePictureCallback(callback, user, format); });
}

KVPLAY_API int32_t KVPlayRegisterPictureCallback(void* handle, const KVPlayPictureCallbackSetup* setup) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.registerPictureCallback(setup); });
}

KVPLAY_API int32_t KVPlayGetPosImage(void* handle, void* request) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.getPictureAtPosition(request); });
}

KVPLAY_API int32_t KVPlaySetOsdString(void* handle, int32_t index, const void* item) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setOsdString(index, item); });
}

KVPLAY_API int32_t KVPlayRemoveOsdstring(void* handle, int32_t index) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.removeOsdString(index); });
}

KVPLAY_API int32_t KVPlayGetAllOsdstring(void* handle, void* items, void* enabled) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.getAllOsdStrings(items, enabled); });
}

KVPLAY_API int32_t KVPlayRegisterDrawFun(void* handle, void* callback, void* user) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.registerDrawFunction(callback, user); });
}

KVPLAY_API int32_t KVPlayRegisterDrawFun_s(void* handle, void* callback, void* user, int32_t) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.registerDrawFunction(callback, user); });
}

KVPLAY_API int32_t KVPlayRegisterBeforeRenderCallback(void* handle, void* callback, void* user) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.registerBeforeRenderCallback(callback, user); });
}

KVPLAY_API int32_t KVPlayRegisterSdkwrapperDrawCallback(void* handle, void* callback, void* user) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.registerWrapperDrawCallback(callback, user); });
}

KVPLAY_API int32_t KVPlayAdjustViewArea(void* handle, int32_t left, int32_t right, int32_t top, int32_t bottom) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.adjustViewArea(left, right, top, bottom); });
}

KVPLAY_API int32_t KVPlaySetColor(void* handle, const float* rgb) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setColor(rgb); });
}

KVPLAY_API int32_t KVPlayDrawLine(void* handle, const float* lines, int32_t count) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.drawLines(lines, count); });
}

KVPLAY_API int32_t KVPlayDrawRect(void* handle, const float* rects, int32_t count) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.drawRects(rects, count); });
}

KVPLAY_API int32_t KVPlayDrawSolidRect(void* handle, const float* rects, int32_t count, float alpha) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.drawSolidRects(rects, count, alpha); });
}

KVPLAY_API int32_t KVPlayDrawHollowCircle(void* handle, const void* circle, int32_t count) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.drawHollowCircle(circle, count); });
}

KVPLAY_API int32_t KVPlayDrawText(void* handle, const char* text, const float* rect) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.drawText(text, rect); });
}

KVPLAY_API int32_t KVPlayUploadPictureFromMemory(void* handle, const void* bytes, uint32_t size) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.uploadPicture(bytes, size); });
}

KVPLAY_API int32_t KVPlayDeletePicture(void* handle, int32_t id) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.deletePicture(id); });
}

KVPLAY_API int32_t KVPlayDrawPicture(void* handle, int32_t id, const float* rect, float alpha) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.drawPicture(id, rect, alpha); });
}

KVPLAY_API int32_t KVPlayFishSetMode(void* handle, int32_t mode) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setFisheyeMode(mode); });
}

KVPLAY_API int32_t KVPlayFishControl(void* handle, void* control) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.fisheyeControl(control); });
}

KVPLAY_API int32_t KVPlaySetCallbackMessage(void* handle, uintptr_t window, uint32_t messageId, void* user) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setMessageWindow(window, messageId, user); });
}

KVPLAY_API int32_t KVPlaySetCallbackMessageEx(void* handle, KVPlayMessageCallback callback, void* user) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setMessageCallback(callback, user); });
}

KVPLAY_API int32_t KVPlaySetCrossDayCallbackMessageEx(void* handle, KVPlayMessageCallback callback, void* user) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setCrossDayCallback(callback, user); });
}

KVPLAY_API int32_t KVPlayStartlocalrecord(void* handle, uint32_t a, uint32_t b, uint32_t c) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.startLocalRecord(packed(a, b, c).data()); });
}

KVPLAY_API int32_t KVPlayStartlocalrecordFile(void* handle, const void* parameters) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return parameters ? i.startLocalRecord(parameters) : -1; });
}

KVPLAY_API int32_t KVPlayStartlocalrecordFileEx(void* handle, const void* parameters) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return parameters ? i.startLocalRecordEx(parameters) : -1; });
}

KVPLAY_API int32_t KVPlayStoplocalrecord(void* handle, int64_t* begin, int64_t* end) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.stopLocalRecord(begin, end); });
}

KVPLAY_API int32_t KVPlaySwitchRecordFile(void* handle, const char* path, void* parameter, int32_t) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.switchRecordFile(path, parameter); });
}

KVPLAY_API int32_t KVPlayCreatePicbylocalFile(void* handle, const void* paths) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return paths ? i.createPictureFromLocalFile(paths) : -1; });
}

KVPLAY_API int32_t KVPlay264ToAviStart(void* handle, const char* source, const char* destination, void* user,
                                       void* progress) {
    return on(handle,
              [&](CPlayInstance& i) -> int32_t { return i.convertFileStart(source, destination, user, progress); });
}

KVPLAY_API int32_t KVPlayConvertFileStart(void* handle, const char* source, const char* destination, void* user,
                                          void* progress) {
    return on(handle,
              [&](CPlayInstance& i) -> int32_t { return i.convertFileStart(source, destination, user, progress); });
}

KVPLAY_API int32_t KVPlay264ToAviStop(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.convertFileStop(); });
}

KVPLAY_API int32_t KVPlayConvertFileStop(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.convertFileStop(); });
}

KVPLAY_API int32_t KVPlayOpenPlayFile(void* handle, const char* path) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.openPlayFile(path, 0); });
}

KVPLAY_API int32_t KVPlayOpenPlayFileListEx(void* handle, const void* records, int32_t count) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.openFileListOld(records, count); });
}

KVPLAY_API int32_t KVPlayNewOpenPlayFileListEx(void* handle, const void* list) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.openFileList(list); });
}

KVPLAY_API int32_t KVPlayNewOpenPlayFileListExV1(void* handle, const void* list) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.openFileListV1(list); });
}

KVPLAY_API int32_t KVPlayClosePlayFile(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.closePlayFile(); });
}

KVPLAY_API int32_t KVPlayGetPlayFileTimeRange(void* handle, int64_t* first, int64_t* last) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return timeRange(i, first, last); });
}

KVPLAY_API int32_t KVPlayGetKeyFrameCount(void* handle) {
    return on(
        handle, [](CPlayInstance& i) -> int32_t { return i.getKeyFrameCount(); }, 0);
}

KVPLAY_API int32_t KVPlaySeekByKeyFrameIndex(void* handle, int32_t index) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.seekByKeyFrameIndex(index); });
}

KVPLAY_API int32_t KVPlayStartDualTalk(void* handle, const int32_t* parameters) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.startDualTalk(parameters); });
}

KVPLAY_API int32_t KVPlayStartDualTalk_V1(void* handle, const void* parameters) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.startDualTalk(parameters); });
}

KVPLAY_API int32_t KVPlaySendDualTalkData(void* handle, const void* pcm, int32_t length) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.sendDualTalkData(pcm, length); });
}

KVPLAY_API int32_t KVPlayStopDualTalk(void* handle) {
    return on(handle, [](CPlayInstance& i) -> int32_t { return i.stopDualTalk(); });
}

KVPLAY_API int32_t KVPlayRegisterSetDualCallback(void* handle, void* callback, void* user) {
    return on(handle, [&](CPlayInstance& i) -> int32_t { return i.setDualTalkCallback(callback, user); });
}

KVPLAY_API void KVPlayClearFlagEx(void* handle, uint32_t flags) {
    if (handle) {
        CPlayInstance& i = *static_cast<CPlayInstance*>(handle);
        i.clearFlagEx(flags);
    }
}

KVPLAY_API void KVPlaySetRenderStatus(void* handle, int32_t status) {
    if (handle) {
        CPlayInstance& i = *static_cast<CPlayInstance*>(handle);
        i.setRenderStatus(status);
    }
}

KVPLAY_API void KVPlayRenderActualProportion(void* handle, int32_t aspectMode) {
    if (handle) {
        CPlayInstance& i = *static_cast<CPlayInstance*>(handle);
        i.keepAspectRatio(aspectMode);
    }
}

KVPLAY_API void KVPlaySetZoomCallback(void* handle, void* callback, void* user) {
    if (handle) {
        CPlayInstance& i = *static_cast<CPlayInstance*>(handle);
        if (user)
            i.setZoomCallback(callback, user);
    }
}

// Functions kept for callers of older versions: fixed answers whatever they are given.
KVPLAY_API int32_t KVPlayRePaint(void*) {
    return 0;
}
KVPLAY_API int32_t KVPlayNSynchroRePaint(void*) {
    return 1;
}
KVPLAY_API int32_t KVPlayGetPlayWnd(void*) {
    return 0;
}
KVPLAY_API int32_t KVPlayDelPlayWnd(void*, int32_t) {
    return -1;
}
KVPLAY_API int32_t KVPlayGetCurrentFrameNo(void*) {
    return -1;
}
KVPLAY_API int32_t KVPlayGetTotalFrames(void*) {
    return -1;
}
KVPLAY_API int32_t KVPlayGetListFrameNum(void*) {
    return -1;
}
KVPLAY_API int32_t KVPlayRefreshImage(void*) {
    return -1;
}
KVPLAY_API int32_t KVPlaySetHardWareDecode(void*) {
    return -1;
}
KVPLAY_API int32_t KVPlayGetImageiBpp(void*) {
    return -1;
}
KVPLAY_API int32_t KVPlaySetPlayPicSize(void*, int32_t, int32_t) {
    return -1;
}
KVPLAY_API int32_t KVPlayHardwareStretch(void*, int32_t, int32_t) {
    return -1;
}
KVPLAY_API int32_t KVPlayImageCallback(void*, void*, void*) {
    return -1;
}
KVPLAY_API int32_t KVPlayRegisterDecCallback(void*, void*, void*) {
    return -1;
}
KVPLAY_API int32_t KVPlaySetRenderEffect(void*, int32_t) {
    return -1;
}
KVPLAY_API int32_t KVPlaySetPlayVolume(void*) {
    return -1;
}
KVPLAY_API int32_t KVPlayGetPlayVolume(void) {
    return -1;
}
KVPLAY_API int32_t KVPlaySetMute(void*) {
    return -1;
}
KVPLAY_API int32_t KVPlayGetMute(void) {
    return 0;
}
KVPLAY_API int32_t KVPlaySetMicMute(void*) {
    return -1;
}
KVPLAY_API int32_t KVPlayGetMicMute(void) {
    return -1;
}
KVPLAY_API int32_t KVPlaySetMicPlayVolume(void*) {
    return -1;
}
KVPLAY_API int32_t KVPlayGetMicPlayVolume(void) {
    return -1;
}
KVPLAY_API int32_t KVPlaySetPlayVolume_bysoft(void*, int32_t) {
    return -1;
}
KVPLAY_API int32_t KVPlayGetAudioCaptureInfo(void*, void*) {
    return -1;
}
KVPLAY_API int32_t KVPlayCapturePictureBuf(void*, void*) {
    return -1;
}
KVPLAY_API int32_t KVPlayCapturePictureCallUser(void*, void*) {
    return -1;
}
KVPLAY_API int32_t KVShowWaterMark(void*) {
    return 0;
}
KVPLAY_API int32_t KVPlayOpenPlayFileList(void*, void*, int32_t, int32_t) {
    return -1;
}

KVPLAY_API void KVUseWaterMarkDecorder(void*) {}

KVPLAY_API int64_t KVPlayGetCurPlayedTime(void* handle) {
    return handle ? static_cast<CPlayInstance*>(handle)->getCurPlayedTime() : 0;
}

KVPLAY_API int32_t KVPlayAddSyncPlayInstance(void* syncHandle, void* instance) {
    return on(syncHandle, [&](CPlayInstance& s) { return s.addSyncInstance(static_cast<CPlayInstance*>(instance)); });
}

KVPLAY_API int32_t KVPlayDelSyncPlayInstance(void* syncHandle, void* instance) {
    return on(syncHandle,
              [&](CPlayInstance& s) { return s.removeSyncInstance(static_cast<CPlayInstance*>(instance)); });
}

}  // extern "C"
