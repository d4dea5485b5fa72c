// The file an MP4 is written into: appends through a large stdio buffer and patches bytes already
// written. The first failure sticks so callers can check once per operation.
#pragma once

#include <cstdint>
#include <cstdio>
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
    uint64_t end_ = 0;
    bool ok_ = true;
};

}  // namespace kvplay::record
