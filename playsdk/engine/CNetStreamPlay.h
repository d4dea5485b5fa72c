// The stream pipeline behind most handles: frames are queued, decoded by one work item at a time and
// shown by one render work item at a time, at the pace of their timestamps and the play mode.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "CPlayInstance.h"
#include "DecoderHolder.h"
#include "Event.h"
#include "FrameStatistics.h"
#include "InputQueue.h"
#include "PictureDescriptor.h"
#include "RenderHolder.h"

namespace kvplay {

// The creation types that change behaviour inside the pipeline.
enum class InstanceType : int32_t { LocalFile = 0, NetFile = 1, NetStream = 2, Decode = 6, LocalFileThumbnail = 7 };

class CNetStreamPlay : public CPlayInstance {
public:
    CNetStreamPlay(InstanceType type, int32_t maxInputFrames, bool pacingOff);
    ~CNetStreamPlay() override;

    int32_t setMaxInputFrames(int32_t n) override;
    int32_t setWindow(uintptr_t window) override;
    int32_t setWindowEx(uintptr_t window, const void* options) override;
    int32_t start() override;
    int32_t stop() override;
    int32_t inputFrame(const void* frame, int32_t length) override;
    int32_t setCushionRange(int32_t enable, int32_t milliseconds) override;
    int32_t setMessageWindow(uintptr_t window, uint32_t messageId, void* user) override;
    int32_t setMessageCallback(MessageCallback callback, void* user) override;
    int32_t setCrossDayCallback(MessageCallback callback, void* user) override;
    int32_t setPlayMode(int32_t mode, int32_t parameter) override;
    int32_t getPlayMode() override;
    int32_t getPictureSize(int32_t* width, int32_t* height) override;
    int64_t getCurPlayedTime() override;
    int32_t openSound() override;
    int32_t closeSound() override;
    int32_t setVolume(int32_t volume) override;
    int32_t getVolume() override;
    int32_t setMute(bool mute) override;
    int32_t getMute() override;
    int32_t getFrameRate() override;
    int32_t getBitRate() override;
    int32_t clearFrameBuffers() override;
    int32_t clearTimeAndStatistics() override;
    // What is drawn in the window, forwarded to its renderer.
    int32_t adjustViewArea(int32_t left, int32_t right, int32_t top, int32_t bottom) override;
    int32_t keepAspectRatio(int32_t mode) override;
    int32_t setOsdString(int32_t index, const void* item) override;
    int32_t removeOsdString(int32_t index) override;
    int32_t getAllOsdStrings(void* items, void* enabled) override;
    int32_t registerDrawFunction(void* function, void* user) override;
    int32_t registerBeforeRenderCallback(void* callback, void* user) override;
    int32_t registerWrapperDrawCallback(void* callback, void* user) override;
    int32_t uploadPicture(const void* bytes, uint32_t size) override;
    int32_t deletePicture(int32_t id) override;
    int32_t setColor(const float* rgb) override;
    int32_t drawLines(const float* lines, int32_t count) override;
    int32_t drawRects(const float* rects, int32_t count) override;
    int32_t drawSolidRects(const float* rects, int32_t count, float alpha) override;
    int32_t drawText(const char* text, const float* rect) override;
    int32_t drawPicture(int32_t id, const float* rect, float alpha) override;
    int32_t registerPictureCallback(const void* setup) override;
    int32_t getFrameInfo(int32_t* info) override;
    int32_t getNetFrameInfo(int32_t* info) override;
    int32_t registerCallbackTable(const void* table) override;
    int32_t getInputQueueLength() override;
    void displayConfigurationChanged(const std::vector<MonitorEntry>& monitors) override;

    InstanceType type() const { return type_; }
    // The kind of decoder in use (0 none), for diagnostics and tests.
    int32_t decoderKind() { return decoder_.currentKind(); }

private:
    using Messages = std::vector<int32_t>;

    // Input and queue.
    int32_t inputControlMarker(const rfs::KVFrameHeader& header);
    bool skipsBeforeCurrentTime(const rfs::KVFrameHeader& header);
    int32_t refuseForShortage();
    std::unique_ptr<FrameBuffer> takeNextFrameLocked(Messages& messages);
    void kickDecodeLocked();
    void resetLocked();

    // Decoding.
    void decodeWork();
    // Takes one frame from the queue and decodes it; the messages it raised are added.
    void decodeNextFrame(Messages& messages);
    std::unique_ptr<PictureDescriptor> pictureOf(const FrameBuffer& frame, const DecodeOutput& out);

    // Pacing and showing.
    void scheduleRenderLocked();
    void scheduleNewPictureLocked();
    void submitRender();
    static void renderFromTimer(void* self);
    void renderWork();
    void renderBlankWhileMode49();
    bool takePictureForScreen();
    void showCurrentPicture();
    void countRendered(const PictureDescriptor& picture);
    int64_t timeOnScreen();
    void restart(bool reverse);

    // Messages go out with no lock held, so a callback may call back into the instance (but not stop it).
    void deliver(const Messages& messages);
    void reportUpdateFailure();

    const InstanceType type_;
    int32_t maxInputFrames_;
    bool pacingOff_;
    int32_t cushionMs_ = 100;
    std::atomic<bool> started_{false};
    std::atomic<bool> soundOpen_{false};
    std::atomic<int32_t> playMode_{1};
    std::atomic<bool> keyFramesOnly_{false};
    bool keyFrameModeLatched_ = false;
    std::atomic<bool> reverse_{false};
    int32_t volume_ = 0;
    bool mute_ = false;

    DecoderHolder decoder_;
    RenderHolder render_;

    // The frame-list lock: queues, work-item flags and the pacing state.
    std::mutex listLock_;
    std::condition_variable workIdle_;
    InputQueue input_;
    std::deque<std::unique_ptr<PictureDescriptor>> pictures_;
    int32_t maxPictures_ = 2;
    bool decodeQueued_ = false;
    bool renderQueued_ = false;
    bool renderDeferred_ = false;
    bool awaitingPicture_ = false;  // the deferred render only repaints because no picture was decoded
    bool aboveHighWater_ = false;
    bool endMarkerReached_ = false;
    bool discardDecoded_ = false;
    bool stepRequested_ = false;
    int64_t lastRenderWallUs_ = 0;
    uint64_t lastPictureTimestamp_ = 0;
    bool lastPictureKey_ = false;
    uint32_t lastInputSequence_ = 0;
    std::atomic<int32_t> channel_{-1};
    bool skipUntilCurrentTime_ = false;

    // The time lock: played time and statistics.
    std::mutex timeLock_;
    int64_t playedTime_ = 0;
    FrameStatistics rendered_;
    FrameStatistics inputStatistics_;
    uint32_t lastCountedSequence_ = 0;
    uint8_t lastKeyTypes_[2] = {0, 0};
    int32_t smartCodec_ = 0;
    int32_t renderedWidth_ = 0;
    int32_t renderedHeight_ = 0;
    int32_t renderedCodec_ = 0;

    // The picture on screen and the still picture a caller handed in.
    std::mutex pictureLock_;
    std::shared_ptr<PictureDescriptor> current_;
    std::shared_ptr<PictureDescriptor> kept_;
    std::atomic<bool> pictureOnScreen_{false};
    std::unique_ptr<PictureDescriptor> blank_;

    // Ends the blank-picture loop at once when the instance stops.
    Event stopping_{true};

    std::mutex messageLock_;
    uintptr_t messageWindow_ = 0;
    uint32_t messageId_ = 0;
    void* messageUser_ = nullptr;
    MessageCallback messageCallback_ = nullptr;
    MessageCallback crossDayCallback_ = nullptr;
    void* crossDayUser_ = nullptr;
};

}  // namespace kvplay
