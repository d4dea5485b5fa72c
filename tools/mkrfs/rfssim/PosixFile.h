// An open file written with pwrite; sizes are set with ftruncate so untouched ranges stay holes.
#pragma once

#include <filesystem>

#include "rfssim/ByteSink.h"

namespace rfssim {

class PosixFile final : public ByteSink {
public:
    enum class Mode { CreateNew, OpenExisting };

    PosixFile(const std::filesystem::path& path, Mode mode);
    ~PosixFile() override;
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    void resize(uint64_t size);
    void writeAt(uint64_t offset, std::span<const uint8_t> bytes) override;

private:
    std::filesystem::path path_;
    int fd_ = -1;
};

}  // namespace rfssim
