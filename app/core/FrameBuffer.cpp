#include "FrameBuffer.h"

#include <cstring>

namespace tarn {

namespace {
std::size_t roundUp(std::size_t n) {
    return (n + FrameBuffer::kBlock - 1) / FrameBuffer::kBlock * FrameBuffer::kBlock;
}
}  // namespace

bool FrameBuffer::reserve(std::size_t bytes) {
    const std::size_t wanted = roundUp(bytes);
    if (wanted <= capacity_)
        return true;
    auto* grown = static_cast<uint8_t*>(std::aligned_alloc(kBlock, wanted));
    if (grown == nullptr)
        return false;
    if (valid_ > 0)
        std::memcpy(grown, bytes_.get(), valid_);
    bytes_.reset(grown);
    capacity_ = wanted;
    return true;
}

void FrameBuffer::release() {
    bytes_.reset();
    capacity_ = 0;
    clear();
}

void FrameBuffer::keepTail() {
    const std::size_t tail = available();
    const std::size_t kept = roundUp(tail);
    std::memmove(bytes_.get() + kept - tail, current(), tail);
    position_ = kept - tail;
    valid_ = kept;
}

bool FrameBuffer::appended(std::size_t length, std::size_t skip) {
    if (length > freeSpace() || skip > length)
        return false;
    // Skipped bytes only ever lead a read into an empty buffer: the first read after a seek.
    if (valid_ == 0)
        position_ = skip;
    valid_ += length;
    return true;
}

}  // namespace tarn
