#include "rfssim/PosixFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <system_error>

namespace rfssim {
namespace {

[[noreturn]] void throwErrno(const char* what, const std::filesystem::path& path) {
    throw std::system_error(errno, std::generic_category(), std::string(what) + " " + path.string());
}

}  // namespace

PosixFile::PosixFile(const std::filesystem::path& path, Mode mode) : path_(path) {
    // Never clobber: the caller decides beforehand what may be replaced.
    const int flags = mode == Mode::CreateNew ? O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC : O_RDWR | O_CLOEXEC;
    fd_ = ::open(path.c_str(), flags, 0644);
    if (fd_ < 0)
        throwErrno(mode == Mode::CreateNew ? "cannot create" : "cannot open", path);
}

PosixFile::~PosixFile() {
    ::close(fd_);
}

void PosixFile::resize(uint64_t size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0)
        throwErrno("cannot set the size of", path_);
}

void PosixFile::writeAt(uint64_t offset, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throwErrno("cannot write", path_);
        bytes = bytes.subspan(static_cast<std::size_t>(n));
        offset += static_cast<uint64_t>(n);
    }
}

}  // namespace rfssim
