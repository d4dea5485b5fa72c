#include "InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kvplay::record {

InputFile::~InputFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

int InputFile::open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
    size_ = static_cast<uint64_t>(info.st_size);
    return 0;
}

bool InputFile::readAt(uint64_t position, std::span<uint8_t> data) const {
    if (fd_ < 0 || position > size_ || data.size() > size_ - position)
        return false;
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pread(fd_, data.data() + done, data.size() - done, static_cast<off_t>(position + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace kvplay::record
