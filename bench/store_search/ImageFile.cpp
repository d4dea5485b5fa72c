#include "ImageFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace storebench {
namespace {

[[noreturn]] void fail(const std::filesystem::path& path, const char* what) {
    throw std::system_error(errno, std::generic_category(), std::string(what) + " " + path.string());
}

}  // namespace

ImageFile::ImageFile(const std::filesystem::path& path, uint64_t size) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0)
        fail(path_, "cannot create");
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        ::close(fd_);
        fail(path_, "cannot size");
    }
}

ImageFile::~ImageFile() {
    ::close(fd_);
}

void ImageFile::writeAt(uint64_t offset, const void* bytes, std::size_t length) const {
    const auto* p = static_cast<const unsigned char*>(bytes);
    while (length > 0) {
        const ssize_t n = ::pwrite(fd_, p, length, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            errno = n == 0 ? EIO : errno;
            fail(path_, "cannot write");
        }
        p += n;
        offset += static_cast<uint64_t>(n);
        length -= static_cast<std::size_t>(n);
    }
}

}  // namespace storebench
