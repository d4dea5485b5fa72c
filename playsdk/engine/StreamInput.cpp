// The input side of the stream pipeline: frames into the queue, and out again for decoding.
#include <cinttypes>
#include <ctime>

#include "CNetStreamPlay.h"
#include "Clock.h"
#include "LogSink.h"
#include "PlayLib.h"
#include "WorkPool.h"

namespace kvplay {
namespace {

constexpr int32_t kHighWater = 200;
constexpr int32_t kLowWater = 100;

// "hh:mm:ss" of a frame time, by UTC rules like every recorder time.
std::string clockText(uint64_t timeUs) {
    const std::time_t seconds = static_cast<std::time_t>((timeUs + 500000) / 1000000);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

}  // namespace

int64_t CNetStreamPlay::timeOnScreen() {
    {
        std::lock_guard picture(pictureLock_);
        if (current_ && current_ != kept_)
            return static_cast<int64_t>(current_->frameHeader().Time);
    }
    return getCurPlayedTime();
}

// An empty frame steers the input: sequence 0 skips what is older than the picture on screen.
int32_t CNetStreamPlay::inputControlMarker(const rfs::KVFrameHeader& header) {
    if (header.frameNo > 1)
        return 0;
    if (header.frameNo == 0 && timeOnScreen() != 0) {
        std::lock_guard guard(listLock_);
        skipUntilCurrentTime_ = true;
    }
    return 0;
}

bool CNetStreamPlay::skipsBeforeCurrentTime(const rfs::KVFrameHeader& header) {
    {
        std::lock_guard guard(listLock_);
        if (!skipUntilCurrentTime_)
            return false;
    }
    const auto now = static_cast<uint64_t>(timeOnScreen());
    if (reverse_ ? header.Time > now : header.Time < now)
        return true;
    std::lock_guard guard(listLock_);
    skipUntilCurrentTime_ = false;
    return false;
}

int32_t CNetStreamPlay::refuseForShortage() {
    if (claimShortageNotice())
        deliver({KVPLAY_MSG_RESOURCE_SHORTAGE});
    return 0;
}

int32_t CNetStreamPlay::inputFrame(const void* frame, int32_t length) {
    if (playMode_ == 49)
        return 0;
    const auto* bytes = static_cast<const uint8_t*>(frame);
    std::unique_ptr<FrameBuffer> copy;
    if (bytes) {
        if (checkInputFrame(bytes, length) != FrameCheck::Valid)
            return -1;
        const rfs::KVFrameHeader header = rfs::readFrameHeader(bytes);
        if (header.framesize == 0)
            return inputControlMarker(header);
        const bool audio = header.frameType == rfs::FrameAudio;
        if (type_ == InstanceType::NetStream && !audio) {
            std::lock_guard time(timeLock_);
            inputStatistics_.count(header.framesize + 40, engineClock().nowMs());
        }
        if (skipsBeforeCurrentTime(header))
            return 0;
        if (!audio) {
            std::lock_guard guard(listLock_);
            if (header.frameType == rfs::FrameP && header.frameNo != lastInputSequence_ + 1)
                return 0;
            lastInputSequence_ = header.frameNo;
            channel_ = header.channel & 0x7f;
        }
        if (playLib().shortageCounter != 0)
            return refuseForShortage();
        copy = FrameBuffer::copyOf(bytes);
        if (!copy) {
            countShortage();
            logInstanceLine(this, channel_, "===vane [resources shortage] input net frame malloc fail, size:%d, ch:%d",
                            static_cast<int>(FrameBuffer::copySize(bytes)), header.channel & 0x7f);
            return -1;
        }
    } else if (playLib().shortageCounter != 0) {
        return refuseForShortage();
    }

    const bool hasWindow = render_.window() != 0 || type_ == InstanceType::Decode;
    int32_t queuedBefore;
    {
        std::lock_guard guard(listLock_);
        if (input_.overBounds(maxInputFrames_)) {
            const DropReport r = input_.dropForRoom();
            logInstanceLine(this, channel_,
                            "===vane drop frame channel:%d, time:(%s %s), frame_size(before, current):(%d, %d), "
                            "max:%d, cache_bytes(before, current):(%" PRId64 ", %" PRId64 "), max_cache_size:%d",
                            channel_.load(), clockText(r.firstDroppedTime).c_str(),
                            clockText(r.lastDroppedTime).c_str(), r.countBefore, r.countAfter, maxInputFrames_,
                            r.bytesBefore, r.bytesAfter, static_cast<int>(kInputByteCap));
        }
        queuedBefore = input_.count();
        const uint64_t time = copy ? copy->header().Time : 0;
        input_.push(std::move(copy));
        if (hasWindow) {
            kickDecodeLocked();
        } else if (time != 0) {
            std::lock_guard clock(timeLock_);
            playedTime_ = static_cast<int64_t>(time);
        }
        if (queuedBefore > kHighWater) {
            aboveHighWater_ = true;
            return KVPLAY_E_OUTOFMEMORY;
        }
    }
    return 0;
}

std::unique_ptr<FrameBuffer> CNetStreamPlay::takeNextFrameLocked(Messages& messages) {
    std::unique_ptr<FrameBuffer> chosen;
    while (!chosen && !input_.empty()) {
        bool marker;
        std::unique_ptr<FrameBuffer> f = input_.pop(marker);
        if (marker) {
            endMarkerReached_ = true;
            continue;
        }
        switch (f->type()) {
            case rfs::FrameI:
            case rfs::FrameVirtual:
                chosen = std::move(f);
                break;
            case rfs::FrameP:
                if (!keyFramesOnly_)
                    chosen = std::move(f);
                break;
            default:
                break;  // audio has no output yet; anything else is not media
        }
    }
    if (aboveHighWater_ && input_.count() < kLowWater) {
        aboveHighWater_ = false;
        if (type_ == InstanceType::NetFile)
            messages.push_back(KVPLAY_MSG_NEED_MORE_DATA);
    }
    if (endMarkerReached_) {
        // Reported once: the marker is gone from the queue.
        endMarkerReached_ = false;
        messages.push_back(KVPLAY_MSG_STREAM_END);
    }
    return chosen;
}

void CNetStreamPlay::kickDecodeLocked() {
    if (!started_ || input_.empty() || int32_t(pictures_.size()) >= maxPictures_ || decodeQueued_)
        return;
    decodeQueued_ = true;
    WorkPool::instance().submit([this] { decodeWork(); });
}

}  // namespace kvplay
