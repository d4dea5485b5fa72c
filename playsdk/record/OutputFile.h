// The file an MP4 is written into: appends through a large stdio buffer and patches bytes already
// written. The first failure sticks so callers can check once per operation.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

namespace kvplay::record {

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool open(const std::string& path);
    bool append(std::span<const uint8_t> data);
    bool patch(uint64_t position, std::span<const uint8_t> data);
    bool close();

    bool isOpen() const { return file_ != nullptr; }
    uint64_t end() const { return end_; }

private:
    std::FILE* file_ = nullptr;
    // The C library ignores the size asked for unless it is given the buffer as well.
    std::unique_ptr<char[]> buffer_;
    uint64_t end_ = 0;
    bool ok_ = true;
};

}  // namespace kvplay::record
