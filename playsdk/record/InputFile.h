// A file read at explicit 64-bit positions.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kvplay::record {

class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // 0, or the errno of the failed open.
    int open(const std::string& path);
    // Reads exactly data.size() bytes at position.
    bool readAt(uint64_t position, std::span<uint8_t> data) const;
    uint64_t size() const { return size_; }

private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

}  // namespace kvplay::record
