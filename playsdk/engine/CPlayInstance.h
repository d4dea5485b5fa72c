// Every handle of the library is one of these: one virtual operation per exported instance function, in
// the design's order, each answering "not supported" until a class implements it.
#pragma once

#include <cstdint>
#include <vector>

#include "MonitorLayout.h"

namespace kvplay {

using MessageCallback = void (*)(int32_t code, void* user);

class CPlayInstance {
public:
    CPlayInstance() = default;
    virtual ~CPlayInstance() = default;
    CPlayInstance(const CPlayInstance&) = delete;
    CPlayInstance& operator=(const CPlayInstance&) = delete;

    virtual int32_t setMaxInputFrames(int32_t) { return -1; }
    virtual int32_t setWindow(uintptr_t) { return -1; }
    virtual int32_t start() { return -1; }
    virtual int32_t stop() { return -1; }
    virtual int32_t inputFrame(const void*, int32_t) { return -1; }
    virtual int32_t setCushionRange(int32_t, int32_t) { return -1; }
    virtual int32_t setMessageWindow(uintptr_t, uint32_t, void*) { return -1; }
    virtual int32_t setMessageCallback(MessageCallback, void*) { return -1; }
    virtual int32_t setCrossDayCallback(MessageCallback, void*) { return -1; }
    virtual int32_t setPlayMode(int32_t, int32_t) { return -1; }
    virtual int32_t getPlayMode() { return -1; }
    virtual int32_t getPictureSize(int32_t*, int32_t*) { return -1; }
    virtual int32_t capturePicture(const char*) { return -1; }
    virtual int32_t capturePictureToCallback(void*, void*, int32_t) { return -1; }
    virtual int32_t capturePictureEx(const char* const*) { return -1; }
    virtual int64_t getCurPlayedTime() { return 0; }
    virtual int32_t setCurPlayedTime(int64_t) { return -1; }
    virtual int32_t setCurPlayedTimeEx(int64_t) { return -1; }
    virtual void setRenderStatus(int32_t) {}
    virtual int32_t openSound() { return -1; }
    virtual int32_t closeSound() { return -1; }
    virtual int32_t setVolume(int32_t) { return -1; }
    virtual int32_t getVolume() { return -1; }
    virtual int32_t setMute(bool) { return -1; }
    virtual int32_t getMute() { return -1; }
    virtual int32_t openPlayFile(const char*, int32_t) { return -1; }
    virtual int32_t openFileListV1(const void*) { return -1; }
    virtual int32_t openFileList(const void*) { return -1; }
    virtual int32_t openFileListOld(const void*, int32_t) { return -1; }
    virtual int32_t closePlayFile() { return -1; }
    virtual int32_t getFileTimeRange(int64_t*, int64_t*) { return -1; }
    virtual int32_t startDualTalk(const void*) { return -1; }
    virtual int32_t stopDualTalk() { return -1; }
    virtual int32_t setDualTalkCallback(void*, void*) { return -1; }
    virtual int32_t sendDualTalkData(const void*, int32_t) { return -1; }
    virtual int32_t addSyncInstance(CPlayInstance*) { return -1; }
    virtual int32_t removeSyncInstance(CPlayInstance*) { return -1; }
    virtual int32_t setOsdString(int32_t, const void*) { return -1; }
    virtual int32_t removeOsdString(int32_t) { return -1; }
    virtual int32_t getAllOsdStrings(void*, void*) { return -1; }
    virtual int32_t registerDrawFunction(void*, void*) { return -1; }
    virtual int32_t adjustViewArea(int32_t, int32_t, int32_t, int32_t) { return -1; }
    virtual int32_t keepAspectRatio(int32_t) { return -1; }
    virtual int32_t startLocalRecord(const void*) { return -1; }
    virtual int32_t startLocalRecordEx(const void*) { return -1; }
    virtual int32_t createPictureFromLocalFile(const void*) { return -1; }
    virtual int32_t stopLocalRecord(int64_t*, int64_t*) { return -1; }
    virtual int32_t switchRecordFile(const char*, void*) { return -1; }
    virtual int32_t getPictureAtPosition(void*) { return -1; }
    virtual int32_t convertFileStart(const char*, const char*, void*, void*) { return -1; }
    virtual int32_t convertFileStop() { return -1; }
    virtual int32_t setCapturePictureCallback(void*, void*, int32_t) { return -1; }
    virtual int32_t getFrameRate() { return -1; }
    virtual int32_t getBitRate() { return -1; }
    virtual int32_t setFisheyeMode(int32_t) { return -1; }
    virtual int32_t fisheyeControl(void*) { return -1; }
    virtual int32_t clearFrameBuffers() { return -1; }
    virtual int32_t clearTimeAndStatistics() { return -1; }
    virtual int32_t clearFlagEx(uint32_t) { return 0; }
    virtual int32_t registerBeforeRenderCallback(void*, void*) { return -1; }
    virtual bool windowInZoomStatus() { return false; }
    virtual int32_t getKeyFrameCount() { return 0; }
    virtual int32_t seekByKeyFrameIndex(int32_t) { return -1; }
    virtual int32_t registerWrapperDrawCallback(void*, void*) { return -1; }
    virtual int32_t uploadPicture(const void*, uint32_t) { return -1; }
    virtual int32_t deletePicture(int32_t) { return -1; }
    virtual int32_t setColor(const float*) { return -1; }
    virtual int32_t drawLines(const float*, int32_t) { return -1; }
    virtual int32_t drawRects(const float*, int32_t) { return -1; }
    virtual int32_t drawSolidRects(const float*, int32_t, float) { return -1; }
    virtual int32_t drawHollowCircle(const void*, int32_t) { return -1; }
    virtual int32_t drawText(const char*, const float*) { return -1; }
    virtual int32_t drawPicture(int32_t, const float*, float) { return -1; }
    virtual int32_t registerPictureCallback(const void*) { return -1; }
    virtual int32_t setZoomCallback(void*, void*) { return -1; }
    virtual int32_t registerAudioLevelCallback(void*, void*) { return -1; }
    virtual int32_t getFrameInfo(int32_t*) { return -1; }
    virtual int32_t getNetFrameInfo(int32_t*) { return -1; }
    virtual int32_t registerCallbackTable(const void*) { return -1; }
    virtual int32_t setWindowEx(uintptr_t, const void*) { return -1; }
    virtual int32_t getInputQueueLength() { return -1; }
    virtual void displayConfigurationChanged(const std::vector<MonitorEntry>&) {}
};

}  // namespace kvplay
