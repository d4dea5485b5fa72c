// The input frames of an instance in arrival order, bounded by the caller through the drop policy. A null
// entry is the end-of-stream marker. Not locked: the instance holds its frame-list lock around it.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "FrameBuffer.h"

namespace kvplay {

constexpr int64_t kInputByteCap = 209715200;

// What one run of the drop policy removed, for its diagnostic line.
struct DropReport {
    int32_t countBefore = 0;
    int32_t countAfter = 0;
    int64_t bytesBefore = 0;
    int64_t bytesAfter = 0;
    uint64_t firstDroppedTime = 0;  // header times of the first and last dropped video frames
    uint64_t lastDroppedTime = 0;
};

class InputQueue {
public:
    void push(std::unique_ptr<FrameBuffer> frame);
    // The head entry; `marker` tells an end-of-stream marker from an empty queue.
    std::unique_ptr<FrameBuffer> pop(bool& marker);
    void clear();

    int32_t count() const { return static_cast<int32_t>(frames_.size()); }
    bool empty() const { return frames_.empty(); }
    int64_t cachedBytes() const { return cachedBytes_; }
    // The pacing timestamp of the newest queued frame, or nothing when only markers are queued.
    bool newestTimestamp(uint64_t& timestamp) const;

    bool overBounds(int32_t maxFrames) const { return count() >= maxFrames || cachedBytes_ > kInputByteCap; }
    // Removes the older half, then everything up to the next key frame, so that what stays decodes. When
    // it stops at a virtual key frame the last dropped I frame goes back in front of it, marked to be
    // decoded without being shown.
    DropReport dropForRoom();

private:
    std::unique_ptr<FrameBuffer> popCounted();

    std::deque<std::unique_ptr<FrameBuffer>> frames_;
    int64_t cachedBytes_ = 0;
};

}  // namespace kvplay
