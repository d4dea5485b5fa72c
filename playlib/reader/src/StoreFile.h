// One opened object of a store: the drive (raw mode) or an index, data or label file (directory
// mode), with positioned reads and writes. Raw mode moves whole 512-byte sectors only, so partial
// sectors at either end go through a bounce sector. A store file is never created, truncated or
// extended.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvrfs {

enum class AccessMode { Raw, Directory };
enum class OpenFor { Read, ReadWrite, Write };

// Results of StoreFile::readAt and writeAt besides a byte count.
enum IoError : int64_t { IoNoMemory = -1, IoSeekFailed = -2, IoTransferFailed = -3 };

// Every transfer of the reader goes through these two calls, so tests can fail or shorten a chosen
// one and benchmarks can count bytes.
struct IoShim {
    ssize_t (*pread)(int fd, void* buffer, std::size_t length, off_t offset);
    ssize_t (*pwrite)(int fd, const void* buffer, std::size_t length, off_t offset);
};
void setIoShim(const IoShim& shim);
void resetIoShim();

class StoreFile {
public:
    StoreFile() = default;
    StoreFile(StoreFile&& other) noexcept;
    StoreFile& operator=(StoreFile&& other) noexcept;
    StoreFile(const StoreFile&) = delete;
    StoreFile& operator=(const StoreFile&) = delete;
    ~StoreFile();

    // The drive itself in raw mode.
    static StoreFile openDrive(const std::string& path, OpenFor access);
    // Index copy `copy` (0..3); -1 opens the first index file that opens. Raw mode opens the drive.
    static StoreFile openIndex(AccessMode mode, const std::string& path, int copy, OpenFor access);
    static StoreFile openDataFile(AccessMode mode, const std::string& path, uint32_t fileIndex, OpenFor access);
    static StoreFile openLabelArea(AccessMode mode, const std::string& path, OpenFor access);

    bool isOpen() const { return fd_ >= 0; }
    const std::string& name() const { return name_; }

    // Bytes transferred (short at the end of the object), or an IoError.
    int64_t readAt(void* buffer, uint64_t offset, std::size_t length) const;
    int64_t writeAt(const void* buffer, uint64_t offset, std::size_t length) const;

    // Pushes written data to the medium (directory mode; raw mode writes through already).
    bool commit() const;

private:
    StoreFile(int fd, std::string name, bool sectorAligned);
    static StoreFile openPath(const std::string& name, OpenFor access, bool sectorAligned);

    // 0, or the IoError that refuses a transfer before it starts.
    int64_t checkTransfer(uint64_t offset, std::size_t length) const;
    int64_t readAligned(unsigned char* buffer, uint64_t offset, std::size_t length) const;
    int64_t writeAligned(const unsigned char* buffer, uint64_t offset, std::size_t length) const;
    int64_t readPlain(unsigned char* buffer, uint64_t offset, std::size_t length) const;
    int64_t writePlain(const unsigned char* buffer, uint64_t offset, std::size_t length) const;
    uint64_t size() const;

    int fd_ = -1;
    std::string name_;
    bool sectorAligned_ = false;
};

}  // namespace kvrfs
