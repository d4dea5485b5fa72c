// Showing pictures: when the next one is due, the render work item that shows it, and the play modes
// that change the pace.
#include "CNetStreamPlay.h"
#include "Clock.h"
#include "LogSink.h"
#include "PacingInterval.h"
#include "PlayLib.h"
#include "RenderTimer.h"
#include "WorkPool.h"

namespace kvplay {
namespace {

constexpr int32_t kModePause = 3;
constexpr int32_t kModeSingleFrame = 48;
constexpr int32_t kModeBlank = 49;
constexpr int64_t kRepaintMs = 40;
constexpr int64_t kBlankRepaintUs = 30000;
constexpr int64_t kDeferBeyondUs = 66666;
constexpr int64_t kOnTimeUs = 3000;

bool isKeyFramesMode(int32_t mode) {
    return mode >= 17 && mode <= 20;
}

}  // namespace

void CNetStreamPlay::submitRender() {
    WorkPool::instance().submit([this] { renderWork(); });
}

void CNetStreamPlay::renderFromTimer(void* self) {
    static_cast<CNetStreamPlay*>(self)->submitRender();
}

void CNetStreamPlay::scheduleRenderLocked() {
    if (playMode_ == kModeBlank) {
        if (!renderQueued_) {
            renderQueued_ = true;
            submitRender();
        }
        return;
    }
    if (!started_ || renderQueued_)
        return;
    renderQueued_ = true;
    renderDeferred_ = false;
    awaitingPicture_ = false;
    const int64_t nowMs = engineClock().nowMs();
    if (pictures_.empty()) {
        if (pictureOnScreen_) {
            renderDeferred_ = true;
            awaitingPicture_ = true;
            RenderTimer::instance().add(nowMs + kRepaintMs, renderFromTimer, this);
        } else {
            renderQueued_ = false;
        }
        return;
    }
    if (pacingOff_) {
        submitRender();
        return;
    }
    const PictureDescriptor& next = *pictures_.front();
    const uint64_t timestamp = next.frameHeader().timestamp;
    if (lastRenderWallUs_ == 0 || lastPictureTimestamp_ == 0) {
        lastRenderWallUs_ = nowMs * 1000;
        lastPictureTimestamp_ = timestamp;
        lastPictureKey_ = next.isKey();
        submitRender();
        return;
    }

    PacingInput pacing;
    pacing.timestamp = timestamp;
    pacing.lastTimestamp = lastPictureTimestamp_;
    pacing.key = next.isKey();
    pacing.lastKey = lastPictureKey_;
    pacing.reverse = reverse_;
    pacing.mode = playMode_;
    pacing.live = type_ == InstanceType::NetStream;
    pacing.cushionMs = cushionMs_;
    uint64_t newest = 0;
    pacing.haveBuffered = input_.newestTimestamp(newest);
    pacing.bufferedMs = static_cast<int64_t>(newest - lastPictureTimestamp_) / 1000;
    const int64_t d = pacingInterval(pacing);

    const int64_t wait = lastRenderWallUs_ + d - nowMs * 1000;
    if (wait > kDeferBeyondUs) {
        // Far away: repaint the picture on screen every 40 ms until it is due, so changes show quickly.
        renderDeferred_ = true;
        RenderTimer::instance().add(nowMs + kRepaintMs, renderFromTimer, this);
        return;
    }
    lastRenderWallUs_ += d;
    lastPictureTimestamp_ = timestamp;
    lastPictureKey_ = next.isKey();
    if (wait > kOnTimeUs) {
        RenderTimer::instance().add(lastRenderWallUs_ / 1000, renderFromTimer, this);
        return;
    }
    if (wait <= -kOnTimeUs)
        lastRenderWallUs_ = nowMs * 1000;  // late: carry on from now instead of catching up in a burst
    submitRender();
}

void CNetStreamPlay::scheduleNewPictureLocked() {
    // A repaint that is only waiting because nothing was decoded would hold the new picture back up to
    // 40 ms (and cap unpaced play at two pictures per repaint): the new picture is scheduled now.
    if (renderQueued_ && awaitingPicture_ && RenderTimer::instance().cancelFor(this))
        renderQueued_ = false;
    scheduleRenderLocked();
}

bool CNetStreamPlay::takePictureForScreen() {
    std::unique_ptr<PictureDescriptor> taken;
    {
        std::lock_guard guard(listLock_);
        if (!started_ || (playMode_ == kModePause && pictureOnScreen_))
            return false;
        if ((renderDeferred_ && !stepRequested_) || pictures_.empty())
            return false;
        stepRequested_ = false;
        taken = std::move(pictures_.front());
        pictures_.pop_front();
        // The single step is done once its picture is taken; until then it waits for one.
        if (playMode_ == kModeSingleFrame)
            playMode_ = kModePause;
        kickDecodeLocked();
    }
    std::lock_guard picture(pictureLock_);
    current_ = std::move(taken);
    pictureOnScreen_ = true;
    return true;
}

void CNetStreamPlay::countRendered(const PictureDescriptor& picture) {
    const rfs::KVFrameHeader h = picture.frameHeader();
    std::lock_guard time(timeLock_);
    if (playedTime_ != 0)
        playedTime_ = static_cast<int64_t>(h.Time);
    if (h.frameNo == lastCountedSequence_)
        return;
    lastCountedSequence_ = h.frameNo;
    if (picture.isKey()) {
        lastKeyTypes_[0] = lastKeyTypes_[1];
        lastKeyTypes_[1] = h.frameType;
    }
    if (rendered_.count(h.framesize + 40, engineClock().nowMs())) {
        renderedWidth_ = picture.width;
        renderedHeight_ = picture.height;
        renderedCodec_ = h.codec;
        smartCodec_ = lastKeyTypes_[0] == rfs::FrameVirtual || lastKeyTypes_[1] == rfs::FrameVirtual;
    }
}

void CNetStreamPlay::reportUpdateFailure() {
    countShortage();
    logInstanceLine(this, channel_, "===vane [resources shortage] update fail");
}

void CNetStreamPlay::showCurrentPicture() {
    std::shared_ptr<PictureDescriptor> shown;
    bool still;
    {
        std::lock_guard picture(pictureLock_);
        shown = current_;
        still = current_ == kept_;
    }
    if (!shown)
        return;
    if (!still)
        countRendered(*shown);
    if (render_.update(*shown) == -2)
        reportUpdateFailure();
}

void CNetStreamPlay::renderBlankWhileMode49() {
    while (started_ && playMode_ == kModeBlank) {
        if (blank_ && render_.update(*blank_) == -2)
            reportUpdateFailure();
        engineClock().waitEvent(stopping_, kBlankRepaintUs);
    }
}

void CNetStreamPlay::renderWork() {
    if (playMode_ == kModeBlank)
        renderBlankWhileMode49();
    else {
        takePictureForScreen();
        if (started_)
            showCurrentPicture();
    }
    std::lock_guard guard(listLock_);
    renderQueued_ = false;
    if (started_)
        scheduleRenderLocked();
    workIdle_.notify_all();
}

void CNetStreamPlay::restart(bool reverse) {
    int32_t mode;
    bool keyOnly, latched, sound;
    {
        std::lock_guard guard(listLock_);
        mode = playMode_;
        keyOnly = keyFramesOnly_;
        latched = keyFrameModeLatched_;
    }
    sound = soundOpen_;
    stop();
    {
        // Restored before starting, so that nothing scheduled after the start sees the reset mode.
        std::lock_guard guard(listLock_);
        playMode_ = mode;
        keyFramesOnly_ = keyOnly;
        keyFrameModeLatched_ = latched;
        reverse_ = reverse;
    }
    start();
    if (sound)
        openSound();
}

int32_t CNetStreamPlay::setPlayMode(int32_t mode, int32_t parameter) {
    if (mode == kModeBlank && playMode_ != kModeBlank) {
        if (!started_) {
            playMode_ = kModeBlank;
        } else {
            stop();
            playMode_ = kModeBlank;
            start();
        }
        return 0;
    }
    if (started_ && mode != playMode_) {
        if (mode == 2 || mode == 50) {
            restart(mode == 50);
        } else {
            std::lock_guard guard(listLock_);
            playMode_ = mode;
            if (mode == kModeSingleFrame)
                stepRequested_ = true;
        }
    }
    std::lock_guard guard(listLock_);
    if (parameter == 0 && isKeyFramesMode(playMode_)) {
        keyFramesOnly_ = true;
        keyFrameModeLatched_ = true;
    } else {
        keyFramesOnly_ = false;
    }
    return 0;
}

int32_t CNetStreamPlay::setCushionRange(int32_t enable, int32_t milliseconds) {
    std::lock_guard guard(listLock_);
    pacingOff_ = enable == 0;
    if (enable != 0)
        cushionMs_ = milliseconds < 100 ? 100 : (milliseconds > 5000 ? 5000 : milliseconds);
    return 0;
}

}  // namespace kvplay
