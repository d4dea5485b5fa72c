#include "InputQueue.h"

#include <algorithm>

namespace kvplay {

void InputQueue::push(std::unique_ptr<FrameBuffer> frame) {
    if (frame)
        cachedBytes_ += frame->recordLength();
    frames_.push_back(std::move(frame));
}

std::unique_ptr<FrameBuffer> InputQueue::popCounted() {
    std::unique_ptr<FrameBuffer> frame = std::move(frames_.front());
    frames_.pop_front();
    if (frame)
        cachedBytes_ = std::max<int64_t>(0, cachedBytes_ - frame->recordLength());
    return frame;
}

std::unique_ptr<FrameBuffer> InputQueue::pop(bool& marker) {
    marker = false;
    if (frames_.empty())
        return nullptr;
    std::unique_ptr<FrameBuffer> frame = popCounted();
    marker = !frame;
    return frame;
}

void InputQueue::clear() {
    frames_.clear();
    cachedBytes_ = 0;
}

bool InputQueue::newestTimestamp(uint64_t& timestamp) const {
    for (auto f = frames_.rbegin(); f != frames_.rend(); ++f)
        if (*f) {
            timestamp = (*f)->header().timestamp;
            return true;
        }
    return false;
}

DropReport InputQueue::dropForRoom() {
    DropReport report;
    report.countBefore = count();
    report.bytesBefore = cachedBytes_;
    std::unique_ptr<FrameBuffer> heldKey;
    auto noteTime = [&report](const FrameBuffer& f) {
        if (f.type() == rfs::FrameAudio)
            return;
        if (report.firstDroppedTime == 0)
            report.firstDroppedTime = f.header().Time;
        report.lastDroppedTime = f.header().Time;
    };

    while (count() > report.countBefore / 2) {
        std::unique_ptr<FrameBuffer> f = popCounted();
        if (!f)
            continue;
        noteTime(*f);
        if (f->type() == rfs::FrameI)
            heldKey = std::move(f);
    }
    while (!frames_.empty()) {
        const FrameBuffer* head = frames_.front().get();
        if (head && (head->type() == rfs::FrameI || head->type() == rfs::FrameVirtual))
            break;
        std::unique_ptr<FrameBuffer> f = popCounted();
        if (f)
            noteTime(*f);
    }
    const bool atVirtualKey = !frames_.empty() && frames_.front()->type() == rfs::FrameVirtual;
    if (atVirtualKey && heldKey) {
        heldKey->header().flags |= 1;
        cachedBytes_ += heldKey->recordLength();
        frames_.push_front(std::move(heldKey));
    }
    report.countAfter = count();
    report.bytesAfter = cachedBytes_;
    return report;
}

}  // namespace kvplay
