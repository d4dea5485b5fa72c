#include "Thumbnail.h"

#include "DiskRegistry.h"
#include "MessageLine.h"
#include "rfs/FrameRecord.h"

namespace kvrfs {
namespace {

constexpr int32_t kFailed = -1;

}  // namespace

int32_t readThumbnail(uint32_t recordId, uint32_t offset, unsigned char* buffer, int* size) {
    const uint32_t diskId = recordId >> 24;
    if (diskId >= static_cast<uint32_t>(readerProfile().maxDisks)) {
        message("disk_id error,disk_id = %d\n", static_cast<int>(diskId));
        return kFailed;
    }
    const DiskRecord* disk = registry().disks[diskId].get();
    if (disk == nullptr) {
        message("disk not added\n");
        return kFailed;
    }
    if (buffer == nullptr || size == nullptr || *size < static_cast<int>(rfs::kFrameHeaderSize)) {
        message("buf is small, buf_len=%d, framelen=%d\n", size == nullptr ? 0 : *size,
                static_cast<int>(rfs::kFrameHeaderSize));
        return kFailed;
    }
    const StoreFile file = StoreFile::openDataFile(AccessMode::Directory, disk->path, recordId & 0xffff, OpenFor::Read);
    if (!file.isOpen()) {
        message("open failed\n");
        return kFailed;
    }
    if (offset >= kThumbnailAreaEnd) {
        message("first thumbnail offset out of range : %d\n", static_cast<int>(offset));
        return kFailed;
    }
    if (offset < kFirstThumbnailOffset) {
        offset = kFirstThumbnailOffset;
        message("firstThnOff set to %d\n", static_cast<int>(offset));
    }
    const int64_t got = file.readAt(buffer, offset, static_cast<std::size_t>(*size));
    if (got < static_cast<int64_t>(rfs::kFrameHeaderSize)) {
        message(got < 0 ? "lseek err!\n" : "read error\n");
        return kFailed;
    }
    const rfs::KVFrameHeader header = rfs::readFrameHeader(buffer);
    if (header.FrameTag != rfs::KVFrameTag) {
        message("KVFrameTag error\n");
        return kFailed;
    }
    if (header.frameType != rfs::FrameThumbnail) {
        message("FrameType=%c\n", header.frameType);
        return kFailed;
    }
    const uint64_t length = rfs::kFrameHeaderSize + uint64_t{header.framesize};
    if (length > static_cast<uint64_t>(*size)) {
        message("buf is small, buf_len=%d, framelen=%d\n", *size, static_cast<int>(length));
        return kFailed;
    }
    // Near the end of the file the record must still have been read whole.
    if (length > static_cast<uint64_t>(got)) {
        message("read error\n");
        return kFailed;
    }
    *size = static_cast<int>(length);
    return 0;
}

}  // namespace kvrfs
