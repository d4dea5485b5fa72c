// Big-endian serialisation into a growing buffer, and reading back with bounds checks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kvplay::record {

class ByteBuffer {
public:
    void u8(uint8_t value) { bytes_.push_back(value); }
    void u16(uint16_t value) { put(value, 2); }
    void u24(uint32_t value) { put(value, 3); }
    void u32(uint32_t value) { put(value, 4); }
    void u64(uint64_t value) { put(value, 8); }
    void fourcc(const char* code) { bytes_.insert(bytes_.end(), code, code + 4); }
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void append(std::span<const uint8_t> data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
    void patch32(std::size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
    }

    std::size_t size() const { return bytes_.size(); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t>& bytes() { return bytes_; }

private:
    void put(uint64_t value, int count) {
        for (int i = count - 1; i >= 0; --i)
            bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }

    std::vector<uint8_t> bytes_;
};

inline uint32_t readBe32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}
inline uint64_t readBe64(const uint8_t* p) { return uint64_t{readBe32(p)} << 32 | readBe32(p + 4); }
inline uint16_t readLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// A cursor over untrusted bytes: every read checks the remaining length and latches a failure.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

    uint32_t u32() { return take(4) ? readBe32(&data_[pos_ - 4]) : 0; }
    uint64_t u64() { return take(8) ? readBe64(&data_[pos_ - 8]) : 0; }
    void skip(std::size_t count) { take(count); }
    std::span<const uint8_t> bytes(std::size_t count) {
        return take(count) ? data_.subspan(pos_ - count, count) : std::span<const uint8_t>{};
    }

    bool ok() const { return ok_; }
    std::size_t remaining() const { return data_.size() - pos_; }

private:
    bool take(std::size_t count) {
        if (!ok_ || count > data_.size() - pos_) {
            ok_ = false;
            return false;
        }
        pos_ += count;
        return true;
    }

    std::span<const uint8_t> data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace kvplay::record
