#include "CNetStreamPlay.h"

#include <cstring>

#include "BmpImage.h"
#include "Clock.h"
#include "PlayLib.h"
#include "RenderTimer.h"

namespace kvplay {

CNetStreamPlay::CNetStreamPlay(InstanceType type, int32_t maxInputFrames, bool pacingOff)
    : type_(type),
      maxInputFrames_(maxInputFrames),
      pacingOff_(pacingOff),
      decoder_(playLib().decodePolicy),
      blank_(blankPicture()) {}

CNetStreamPlay::~CNetStreamPlay() {
    // Work items still running would use a freed instance: stop waits for them.
    stop();
}

int32_t CNetStreamPlay::start() {
    if (!started_.exchange(true))
        instanceStarted();
    stopping_.reset();
    std::lock_guard guard(listLock_);
    if (playMode_ == 49) {
        scheduleRenderLocked();
        return 0;
    }
    {
        std::lock_guard picture(pictureLock_);
        if (kept_) {
            current_ = kept_;
            pictureOnScreen_ = true;
        }
    }
    // The picture on screen (the still picture, or the last one before a stop) is repainted at once; the
    // repaint takes no new picture, so the first one decoded is paced from its own schedule.
    if (pictureOnScreen_ && !renderQueued_) {
        renderQueued_ = true;
        renderDeferred_ = true;
        submitRender();
    }
    kickDecodeLocked();
    return 0;
}

int32_t CNetStreamPlay::stop() {
    {
        std::unique_lock guard(listLock_);
        if (!started_)
            return 0;
        started_ = false;
        stopping_.set();
        // A deferred render runs once more, finds the instance stopped and ends.
        RenderTimer::instance().fireAllFor(this);
        workIdle_.wait(guard, [this] { return !decodeQueued_ && !renderQueued_; });
    }
    closeSound();
    {
        std::lock_guard guard(listLock_);
        resetLocked();
    }
    instanceStopped();
    return 0;
}

void CNetStreamPlay::resetLocked() {
    input_.clear();
    pictures_.clear();
    maxPictures_ = 2;
    decodeQueued_ = renderQueued_ = renderDeferred_ = awaitingPicture_ = false;
    aboveHighWater_ = endMarkerReached_ = discardDecoded_ = stepRequested_ = false;
    lastRenderWallUs_ = 0;
    lastPictureTimestamp_ = 0;
    lastPictureKey_ = false;
    playMode_ = 1;
    keyFramesOnly_ = false;
    keyFrameModeLatched_ = false;
    lastInputSequence_ = 0;
    channel_ = -1;
    reverse_ = false;
    skipUntilCurrentTime_ = false;
    std::lock_guard time(timeLock_);
    playedTime_ = 0;
    rendered_.clear();
    inputStatistics_.clear();
    lastCountedSequence_ = 0;
}

int32_t CNetStreamPlay::setMaxInputFrames(int32_t n) {
    std::lock_guard guard(listLock_);
    if (n >= 251)
        maxInputFrames_ = n;
    return 0;
}

int32_t CNetStreamPlay::setWindow(uintptr_t window) {
    render_.setWindow(window, !playLib().disableDirectDraw);
    return 0;
}

int32_t CNetStreamPlay::setWindowEx(uintptr_t window, const void* options) {
    const auto* o = static_cast<const KVPlayPlayOptions*>(options);
    decoder_.setSwitches(!o || o->noHardwareDecode == 0, window != 0 && o && o->decodeAndRender != 0);
    render_.setWindow(window, (!o || o->renderer == 0) && !playLib().disableDirectDraw);
    return 0;
}

int32_t CNetStreamPlay::setMessageWindow(uintptr_t window, uint32_t messageId, void* user) {
    std::lock_guard guard(messageLock_);
    messageWindow_ = window;
    messageId_ = messageId;
    messageUser_ = user;
    return 0;
}

int32_t CNetStreamPlay::setMessageCallback(MessageCallback callback, void* user) {
    {
        std::lock_guard guard(messageLock_);
        messageCallback_ = callback;
        messageUser_ = user;
    }
    render_.setMessageCallback(callback, user);
    return 0;
}

int32_t CNetStreamPlay::setCrossDayCallback(MessageCallback callback, void* user) {
    std::lock_guard guard(messageLock_);
    crossDayCallback_ = callback;
    crossDayUser_ = user;
    return 0;
}

void CNetStreamPlay::deliver(const Messages& messages) {
    if (messages.empty())
        return;
    MessageCallback callback;
    void* user;
    {
        std::lock_guard guard(messageLock_);
        // X11 windows have no message queue to post to: with a message window set, messages are dropped.
        if (messageWindow_ != 0)
            return;
        callback = messageCallback_;
        user = messageUser_;
    }
    if (callback)
        for (const int32_t code : messages)
            callback(code, user);
}

int32_t CNetStreamPlay::getPlayMode() {
    return playMode_;
}

int32_t CNetStreamPlay::getPictureSize(int32_t* width, int32_t* height) {
    int32_t w, h;
    if (render_.pictureSize(w, h)) {
        if (width)
            *width = w;
        if (height)
            *height = h;
    }
    return 0;
}

int64_t CNetStreamPlay::getCurPlayedTime() {
    std::lock_guard guard(timeLock_);
    return playedTime_;
}

// There is no sound output yet: the switches and levels are kept for it; audio frames are let go.
int32_t CNetStreamPlay::openSound() {
    soundOpen_ = true;
    return 0;
}

int32_t CNetStreamPlay::closeSound() {
    soundOpen_ = false;
    return 0;
}

int32_t CNetStreamPlay::setVolume(int32_t volume) {
    std::lock_guard guard(messageLock_);
    volume_ = volume;
    return 0;
}

int32_t CNetStreamPlay::getVolume() {
    std::lock_guard guard(messageLock_);
    return volume_;
}

int32_t CNetStreamPlay::setMute(bool mute) {
    std::lock_guard guard(messageLock_);
    mute_ = mute;
    return 0;
}

int32_t CNetStreamPlay::getMute() {
    std::lock_guard guard(messageLock_);
    return mute_ ? 1 : 0;
}

int32_t CNetStreamPlay::getFrameInfo(int32_t* info) {
    if (!info)
        return -1;
    std::lock_guard guard(timeLock_);
    const int32_t values[6] = {rendered_.framesPerSecond(),
                               rendered_.bitsPerSecond(),
                               renderedWidth_,
                               renderedHeight_,
                               renderedCodec_,
                               smartCodec_};
    std::memcpy(info, values, sizeof values);
    return 0;
}

int32_t CNetStreamPlay::getNetFrameInfo(int32_t* info) {
    if (!info)
        return -1;
    std::lock_guard guard(timeLock_);
    const int32_t values[6] = {inputStatistics_.framesPerSecond(), inputStatistics_.bitsPerSecond(), 0, 0, 0, 0};
    std::memcpy(info, values, sizeof values);
    return 0;
}

int32_t CNetStreamPlay::getFrameRate() {
    std::lock_guard guard(timeLock_);
    return rendered_.framesPerSecond();
}

int32_t CNetStreamPlay::getBitRate() {
    std::lock_guard guard(timeLock_);
    return rendered_.bitsPerSecond();
}

int32_t CNetStreamPlay::clearFrameBuffers() {
    std::lock_guard guard(listLock_);
    input_.clear();
    pictures_.clear();
    discardDecoded_ = true;
    return 0;
}

int32_t CNetStreamPlay::clearTimeAndStatistics() {
    std::lock_guard guard(timeLock_);
    playedTime_ = 0;
    rendered_.clear();
    inputStatistics_.clear();
    return 0;
}

int32_t CNetStreamPlay::registerPictureCallback(const void* setup) {
    const auto* s = static_cast<const KVPlayPictureCallbackSetup*>(setup);
    if (!s)
        return -1;
    render_.setPictureCallback(s->callback, s->user);
    std::shared_ptr<PictureDescriptor> still = s->bmp ? pictureFromBmp(s->bmp, s->bmpSize) : nullptr;
    std::lock_guard picture(pictureLock_);
    if (kept_ && current_ == kept_) {
        current_ = still;
        pictureOnScreen_ = current_ != nullptr;
    }
    kept_ = std::move(still);
    return 0;
}

int32_t CNetStreamPlay::registerCallbackTable(const void* table) {
    const auto* t = static_cast<const KVPlayCallbackTable*>(table);
    if (!t)
        return -1;
    decoder_.setExternalDecoder(t->decode, t->user);
    render_.setRenderCallback(t->render, t->user);
    return 0;
}

int32_t CNetStreamPlay::getInputQueueLength() {
    std::lock_guard guard(listLock_);
    return input_.count();
}

}  // namespace kvplay
