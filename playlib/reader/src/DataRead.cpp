#include "DataRead.h"

#include <algorithm>
#include <cerrno>

#include "MessageLine.h"

namespace kvrfs {

int32_t readEventData(ReadHandle& handle, unsigned char* buffer, std::size_t length, uint64_t limit, int* skip) {
    const uint64_t end = handle.dataEnd();
    if (handle.position >= end) {
        message("chn%d kv_read data end, start:%llu, size:%llu, offset:%llu\n", handle.chn,
                static_cast<unsigned long long>(handle.dataStart), static_cast<unsigned long long>(handle.dataLength),
                static_cast<unsigned long long>(handle.position));
        if (!handle.dataFile.isOpen()) {
            message("invalid playback param,return\n");
            return kReadBadEvent;
        }
        return 0;
    }

    // Checked before the position moves to the block boundary, so a refused call changes nothing.
    if (length == 0 || length % kReadAlignment != 0) {
        message("err\n");
        return kReadBadLength;
    }
    const uint64_t head = handle.position % kReadAlignment;
    handle.position -= head;
    if (skip != nullptr)
        *skip = static_cast<int>(head);
    const uint64_t remaining = end - handle.position;

    uint64_t transfer = length;
    uint64_t result = std::min<uint64_t>(remaining, length);
    if (limit != 0) {
        if (remaining < limit + head) {
            message("iframe is broken len = %llu read_len = %d\n", static_cast<unsigned long long>(limit), 0);
            handle.position = end;
            return 0;
        }
        const uint64_t wanted = (limit + head + kReadAlignment - 1) / kReadAlignment * kReadAlignment;
        transfer = std::min<uint64_t>(length, wanted);
        result = std::min(limit + head, transfer);
    }
    const int64_t n = handle.dataFile.readAt(buffer, handle.fileBase + handle.position, transfer);
    if (n == static_cast<int64_t>(transfer)) {
        handle.position += result;
        if (handle.covered) {
            message("data had already recovered\n");
            return kReadEventCovered;
        }
        return static_cast<int32_t>(result);
    }

    // A short transfer that still reaches the end of the event delivers the event's last bytes.
    const uint64_t got = std::min<uint64_t>(n < 0 ? 0 : static_cast<uint64_t>(n), result);
    handle.position += got;
    if (n < 0 && (errno == EIO || errno == EFAULT || errno == ENOSPC || errno == EBADF))
        message("Hdd state is not stable\n");
    if (handle.position < end && got < result) {
        message("kv_read data err%lld, %llu\n", static_cast<long long>(n), static_cast<unsigned long long>(transfer));
        return kReadShort;
    }
    return static_cast<int32_t>(got);
}

}  // namespace kvrfs
