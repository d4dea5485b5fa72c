// Somewhere bytes can be written at an offset: a file, a region of an image, memory in tests.
#pragma once

#include <cstdint>
#include <span>

namespace rfssim {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void writeAt(uint64_t offset, std::span<const uint8_t> bytes) = 0;
};

template <typename Record>
std::span<const uint8_t> recordBytes(const Record& record) {
    return {reinterpret_cast<const uint8_t*>(&record), sizeof record};
}

}  // namespace rfssim
