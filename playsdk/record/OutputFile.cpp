#include "OutputFile.h"

#include <sys/types.h>

namespace kvplay::record {

namespace {
constexpr std::size_t kWriteBuffer = 1 << 20;  // samples arrive in small pieces
}

OutputFile::~OutputFile() { close(); }

bool OutputFile::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr)
        return false;
    if (!buffer_)
        buffer_ = std::make_unique<char[]>(kWriteBuffer);
    std::setvbuf(file_, buffer_.get(), _IOFBF, kWriteBuffer);
    end_ = 0;
    ok_ = true;
    return true;
}

bool OutputFile::append(std::span<const uint8_t> data) {
    if (file_ == nullptr || !ok_)
        return false;
    if (std::fwrite(data.data(), 1, data.size(), file_) != data.size())
        ok_ = false;
    end_ += data.size();
    return ok_;
}

bool OutputFile::patch(uint64_t position, std::span<const uint8_t> data) {
    if (file_ == nullptr || !ok_ || position + data.size() > end_)
        return ok_ = false;
    if (fseeko(file_, static_cast<off_t>(position), SEEK_SET) != 0 ||
        std::fwrite(data.data(), 1, data.size(), file_) != data.size() ||
        fseeko(file_, static_cast<off_t>(end_), SEEK_SET) != 0)
        ok_ = false;
    return ok_;
}

bool OutputFile::close() {
    if (file_ == nullptr)
        return ok_;
    if (std::fclose(file_) != 0)
        ok_ = false;
    file_ = nullptr;
    return ok_;
}

}  // namespace kvplay::record
