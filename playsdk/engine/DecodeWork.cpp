// The decode work item: one frame from the queue through the decoder into the picture list.
#include "CNetStreamPlay.h"
#include "LogSink.h"
#include "PlayLib.h"

namespace kvplay {

std::unique_ptr<PictureDescriptor> CNetStreamPlay::pictureOf(const FrameBuffer& frame, const DecodeOutput& out) {
    std::unique_ptr<PictureDescriptor> picture = pictureFromOutput(frame.header(), out);
    if (!picture) {
        countShortage();
        logInstanceLine(this, channel_, "===vane [resources shortage] after decode copy new fail, size:%d",
                        static_cast<int>(pictureBytes(out.width, out.height)));
    }
    return picture;
}

void CNetStreamPlay::decodeWork() {
    for (;;) {
        Messages messages;
        decodeNextFrame(messages);
        // Delivered while the item still counts as queued: a stop waits for it, so the instance is
        // still there.
        deliver(messages);
        std::lock_guard guard(listLock_);
        // Going on is the same as ending and being kicked again, without handing the work to another
        // thread.
        if (started_ && !input_.empty() && int32_t(pictures_.size()) < maxPictures_)
            continue;
        decodeQueued_ = false;
        workIdle_.notify_all();
        return;
    }
}

void CNetStreamPlay::decodeNextFrame(Messages& messages) {
    std::unique_ptr<FrameBuffer> frame;
    {
        std::lock_guard guard(listLock_);
        frame = takeNextFrameLocked(messages);
    }
    if (!frame)
        return;

    {
        std::lock_guard time(timeLock_);
        if (playedTime_ == 0)
            playedTime_ = static_cast<int64_t>(frame->header().Time);
    }
    const bool decodeOnly = frame->decodeOnly();
    std::unique_ptr<PictureDescriptor> picture;
    const int32_t result = decoder_.decode(frame->data(), true, [&](const DecodeOutput& out) {
        if (!decodeOnly && playLib().shortageCounter == 0)
            picture = pictureOf(*frame, out);
    });

    const rfs::KVFrameHeader header = frame->header();
    if (!decodeOnly && result == DecodeCreateFailed) {
        countShortage();
        logInstanceLine(this, channel_, "===vane [resources shortage] decode return -2, w:%d, h:%d, ch:%d",
                        header.video.width, header.video.height, header.channel & 0x7f);
        if (claimShortageNotice())
            messages.push_back(KVPLAY_MSG_RESOURCE_SHORTAGE);
    }

    std::lock_guard guard(listLock_);
    if (picture && !discardDecoded_) {
        pictures_.push_back(std::move(picture));
        scheduleNewPictureLocked();
    }
    discardDecoded_ = false;
}

}  // namespace kvplay
