// The read buffer of a frame source: 4 KiB-aligned blocks as the reader requires, the bytes it
// delivered, and the position of the next record among them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace tarn {

class FrameBuffer {
public:
    static constexpr std::size_t kBlock = 4096;

    bool allocated() const { return bytes_ != nullptr; }
    // Grows to at least `bytes` (whole blocks), keeping what is held; false when memory runs out.
    bool reserve(std::size_t bytes);
    void release();

    const uint8_t* current() const { return bytes_.get() + position_; }
    std::size_t available() const { return valid_ - position_; }
    void advance(std::size_t n) { position_ += n; }
    void clear() { position_ = valid_ = 0; }

    // Moves the unread tail so that it ends on a block boundary, where the next read appends.
    void keepTail();
    uint8_t* freeStart() { return bytes_.get() + valid_; }
    std::size_t freeSpace() const { return capacity_ - valid_; }
    std::size_t capacity() const { return capacity_; }
    // Takes `length` bytes the reader put at freeStart(), of which the first `skip` are not data; false
    // when the counts do not fit the buffer.
    bool appended(std::size_t length, std::size_t skip);

private:
    struct Free {
        void operator()(uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<uint8_t, Free> bytes_;
    std::size_t capacity_ = 0;
    std::size_t position_ = 0;
    std::size_t valid_ = 0;
};

}  // namespace tarn
