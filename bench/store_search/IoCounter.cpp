#include "IoCounter.h"

#include <unistd.h>

#include "StoreFile.h"

namespace storebench {
namespace {

IoCount counted;

ssize_t countingPread(int fd, void* buffer, std::size_t length, off_t offset) {
    const ssize_t n = ::pread(fd, buffer, length, offset);
    ++counted.calls;
    if (n > 0)
        counted.bytes += static_cast<uint64_t>(n);
    return n;
}

}  // namespace

void installIoCounter() {
    kvrfs::setIoShim(kvrfs::IoShim{countingPread, ::pwrite});
}

IoCount ioCount() {
    return counted;
}

}  // namespace storebench
