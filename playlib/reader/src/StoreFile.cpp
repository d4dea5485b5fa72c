#include "StoreFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "MessageLine.h"

namespace kvrfs {
namespace {

constexpr uint64_t kSector = 512;
constexpr IoShim kSystemIo{::pread, ::pwrite};

IoShim& io() {
    static IoShim shim = kSystemIo;
    return shim;
}

// Repeats a transfer until it is complete, the object ends (0) or it fails (-1).
template <typename Transfer, typename Byte>
int64_t transferAll(Transfer transfer, int fd, Byte* buffer, std::size_t length, uint64_t offset) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = transfer(fd, buffer + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<int64_t>(done);
}

int64_t readAll(int fd, unsigned char* buffer, std::size_t length, uint64_t offset) {
    return transferAll(io().pread, fd, buffer, length, offset);
}

int64_t writeAll(int fd, const unsigned char* buffer, std::size_t length, uint64_t offset) {
    return transferAll(io().pwrite, fd, buffer, length, offset);
}

bool rangeFitsOffsets(uint64_t offset, std::size_t length) {
    constexpr uint64_t limit = static_cast<uint64_t>(std::numeric_limits<off_t>::max());
    return offset <= limit && length <= limit - offset;
}

int openFlags(OpenFor access) {
    switch (access) {
    case OpenFor::Read:
        return O_RDONLY;
    case OpenFor::ReadWrite:
        return O_RDWR | O_DSYNC;
    case OpenFor::Write:
        return O_WRONLY | O_DSYNC;
    }
    return O_RDONLY;
}

}  // namespace

void setIoShim(const IoShim& shim) { io() = shim; }
void resetIoShim() { io() = kSystemIo; }

StoreFile::StoreFile(int fd, std::string name, bool sectorAligned)
    : fd_(fd), name_(std::move(name)), sectorAligned_(sectorAligned) {}

StoreFile::StoreFile(StoreFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), name_(std::move(other.name_)), sectorAligned_(other.sectorAligned_) {}

StoreFile& StoreFile::operator=(StoreFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        name_ = std::move(other.name_);
        sectorAligned_ = other.sectorAligned_;
    }
    return *this;
}

StoreFile::~StoreFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

StoreFile StoreFile::openPath(const std::string& name, OpenFor access, bool sectorAligned) {
    const int fd = ::open(name.c_str(), openFlags(access) | O_CLOEXEC);
    if (fd < 0 && sectorAligned)
        message("open file err:%d\n", errno);
    return StoreFile(fd, name, sectorAligned);
}

StoreFile StoreFile::openDrive(const std::string& path, OpenFor access) { return openPath(path, access, true); }

StoreFile StoreFile::openIndex(AccessMode mode, const std::string& path, int copy, OpenFor access) {
    if (mode == AccessMode::Raw)
        return openDrive(path, access);
    if (copy == -1) {
        for (int c = 0; c < 4; ++c) {
            StoreFile file = openPath(path + "/index" + std::to_string(c), access, false);
            if (file.isOpen())
                return file;
        }
        return StoreFile(-1, path + "/index0", false);
    }
    if (copy < 0 || copy > 3) {
        message("pindex out of range\n");
        return StoreFile(-1, path, false);
    }
    return openPath(path + "/index" + std::to_string(copy), access, false);
}

StoreFile StoreFile::openDataFile(AccessMode mode, const std::string& path, uint32_t fileIndex, OpenFor access) {
    if (mode == AccessMode::Raw)
        return openDrive(path, access);
    return openPath(path + "/file" + std::to_string(fileIndex), access, false);
}

StoreFile StoreFile::openLabelArea(AccessMode mode, const std::string& path, OpenFor access) {
    if (mode == AccessMode::Raw)
        return openDrive(path, access);
    return openPath(path + "/label0", access, false);
}

uint64_t StoreFile::size() const {
    const off_t end = ::lseek(fd_, 0, SEEK_END);
    return end < 0 ? 0 : static_cast<uint64_t>(end);
}

bool StoreFile::commit() const { return fd_ >= 0 && ::fsync(fd_) == 0; }

int64_t StoreFile::checkTransfer(uint64_t offset, std::size_t length) const {
    if (fd_ < 0)
        return IoTransferFailed;
    if (!rangeFitsOffsets(offset, length)) {
        if (sectorAligned_)
            message("set file point failed\n");
        return IoSeekFailed;
    }
    return 0;
}

int64_t StoreFile::readAt(void* buffer, uint64_t offset, std::size_t length) const {
    if (const int64_t refused = checkTransfer(offset, length); refused != 0)
        return refused;
    auto* bytes = static_cast<unsigned char*>(buffer);
    return sectorAligned_ ? readAligned(bytes, offset, length) : readPlain(bytes, offset, length);
}

int64_t StoreFile::writeAt(const void* buffer, uint64_t offset, std::size_t length) const {
    if (const int64_t refused = checkTransfer(offset, length); refused != 0)
        return refused;
    // Writing past the end would extend a store file.
    if (offset + length > size()) {
        if (sectorAligned_)
            message("write file failed\n");
        return IoTransferFailed;
    }
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    return sectorAligned_ ? writeAligned(bytes, offset, length) : writePlain(bytes, offset, length);
}

int64_t StoreFile::readPlain(unsigned char* buffer, uint64_t offset, std::size_t length) const {
    const int64_t n = readAll(fd_, buffer, length, offset);
    return n < 0 ? IoTransferFailed : n;
}

int64_t StoreFile::writePlain(const unsigned char* buffer, uint64_t offset, std::size_t length) const {
    const int64_t n = writeAll(fd_, buffer, length, offset);
    return n < 0 ? IoTransferFailed : n;
}

int64_t StoreFile::readAligned(unsigned char* buffer, uint64_t offset, std::size_t length) const {
    alignas(kSector) unsigned char bounce[kSector];
    uint64_t position = offset - offset % kSector;
    const std::size_t head = static_cast<std::size_t>(offset - position);
    std::size_t delivered = 0;

    auto failed = [] {
        message("read file error!\n");
        return int64_t{IoTransferFailed};
    };

    if (head != 0 && length != 0) {
        const int64_t n = readAll(fd_, bounce, kSector, position);
        if (n < 0)
            return failed();
        if (static_cast<std::size_t>(n) <= head)
            return 0;
        delivered = std::min(static_cast<std::size_t>(n) - head, length);
        std::memcpy(buffer, bounce + head, delivered);
        position += kSector;
        if (delivered == length || static_cast<std::size_t>(n) < kSector)
            return static_cast<int64_t>(delivered);
    }

    const std::size_t middle = (length - delivered) / kSector * kSector;
    if (middle != 0) {
        const int64_t n = readAll(fd_, buffer + delivered, middle, position);
        if (n < 0)
            return failed();
        delivered += static_cast<std::size_t>(n);
        position += static_cast<uint64_t>(n);
        if (static_cast<std::size_t>(n) < middle)
            return static_cast<int64_t>(delivered);
    }

    const std::size_t tail = length - delivered;
    if (tail != 0) {
        const int64_t n = readAll(fd_, bounce, kSector, position);
        if (n < 0)
            return failed();
        const std::size_t take = std::min(static_cast<std::size_t>(n), tail);
        std::memcpy(buffer + delivered, bounce, take);
        delivered += take;
    }
    return static_cast<int64_t>(delivered);
}

int64_t StoreFile::writeAligned(const unsigned char* buffer, uint64_t offset, std::size_t length) const {
    alignas(kSector) unsigned char bounce[kSector];
    uint64_t position = offset - offset % kSector;
    std::size_t head = static_cast<std::size_t>(offset - position);
    std::size_t written = 0;

    auto failed = [] {
        message("write file failed\n");
        return int64_t{IoTransferFailed};
    };

    // Reads the sector at `position`, patches `count` caller bytes in at `at` and writes it back;
    // a last sector of an image that is not a whole sector long is written back as long as it is.
    auto patchSector = [&](std::size_t at, std::size_t count) -> bool {
        const int64_t n = readAll(fd_, bounce, kSector, position);
        if (n < 0 || static_cast<std::size_t>(n) < at + count)
            return false;
        std::memcpy(bounce + at, buffer + written, count);
        if (writeAll(fd_, bounce, static_cast<std::size_t>(n), position) != n)
            return false;
        written += count;
        position += kSector;
        return true;
    };

    if (head != 0 && length != 0) {
        if (!patchSector(head, std::min(kSector - head, static_cast<uint64_t>(length))))
            return failed();
        if (written == length)
            return static_cast<int64_t>(written);
    }

    const std::size_t middle = (length - written) / kSector * kSector;
    if (middle != 0) {
        if (writeAll(fd_, buffer + written, middle, position) != static_cast<int64_t>(middle))
            return failed();
        written += middle;
        position += middle;
    }

    const std::size_t tail = length - written;
    if (tail != 0 && !patchSector(0, tail))
        return failed();
    return static_cast<int64_t>(written);
}

}  // namespace kvrfs
