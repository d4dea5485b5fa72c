#include "PictureRead.h"

#include <cerrno>
#include <cstring>

#include "DataFileAccess.h"
#include "DiskRegistry.h"
#include "MessageLine.h"
#include "ReadHandles.h"
#include "SearchHandles.h"
#include "rfs/PictureRecords.h"

namespace kvrfs {
namespace {

// The picture must still be listed by the search that found it.
int32_t checkListed(const rfs_pic_t& picture) {
    if (picture.handle >= kSearchHandles) {
        message("%d handle out of range\n", picture.handle);
        return kReadBadPictureHandle;
    }
    const SearchHandle& search = searchHandles()[picture.handle];
    if (search.kind == SearchKind::Free) {
        message("%d handle isn't exist\n", picture.handle);
        return kReadBadHandle;
    }
    const std::vector<rfs_pic_t>& list = search.slots[0].pictures;
    if (picture.index < 0 || picture.index >= static_cast<int>(list.size())) {
        message("the event is not in memory\n");
        return kReadEventNotListed;
    }
    return list[picture.index].invalid == 1 ? kReadEventCovered : 0;
}

// Opens the picture's data file unless the handle holds it already. The open file is known by disk,
// partition and file, so that no picture is ever read from another file of the same disk.
int32_t openPictureFile(ReadHandle& handle, const DiskRecord& disk, int partition, uint32_t fileIndex,
                        uint32_t recordId) {
    if (handle.pictureFile.isOpen() && handle.pictureRecordId == recordId)
        return 0;
    handle.pictureFile = openDataFileOf(disk, partition, fileIndex).file;
    handle.pictureRecordId = recordId;
    if (!handle.pictureFile.isOpen()) {
        message("open file %s failed!\n", handle.pictureFile.name().c_str());
        message("open pic fd failed: %s\n", std::strerror(errno));
        return kReadOpenFailed;
    }
    return 0;
}

}  // namespace

int32_t readPicture(int handleNumber, const rfs_pic_t* picture, unsigned char* buffer, std::size_t length,
                    int* externLength) {
    if (handleNumber < 0 || handleNumber >= kReadHandles || !readHandles()[handleNumber].inUse) {
        message("rd is invalid\n");
        return kReadBadPictureHandle;
    }
    if (buffer == nullptr) {
        message("buf is NULL\n");
        return kReadNullPictureBuffer;
    }
    if (externLength != nullptr)
        *externLength = 0;
    if (picture == nullptr) {
        message("para err!\n");
        return kReadBadBuffer;
    }
    if (const int32_t refused = checkListed(*picture); refused != 0)
        return refused;

    const int diskId = static_cast<int>(picture->record_id >> 24);
    const int partition = static_cast<int>(picture->record_id >> 16 & 0xff);
    const uint32_t fileIndex = picture->record_id & 0xffff;
    const DiskRecord* disk = diskId < kMaxDisks ? registry().disks[diskId].get() : nullptr;
    if (disk == nullptr) {
        message("pg_disk_list:%d is null\n", diskId);
        return kReadDiskGone;
    }
    const uint64_t block = rfs::pictureBlockPosition(picture->position);
    const uint64_t blockLength = rfs::pictureBlockLength(picture->position, picture->length);
    if (partition >= disk->param.part_count || fileIndex >= disk->part[partition].file_nr ||
        block + blockLength > rfs::normalisedDataFileSize(disk->param.dataFileSize)) {
        message("pic position out of its data file, position:%u, length:%u\n", picture->position, picture->length);
        return kReadBadEvent;
    }

    ReadHandle& handle = readHandles()[handleNumber];
    if (const int32_t failed = openPictureFile(handle, *disk, partition, fileIndex, picture->record_id); failed != 0)
        return failed;

    const auto leading = static_cast<int>(rfs::externLength(picture->position));
    if (externLength != nullptr)
        *externLength = leading;
    if (blockLength > length) {
        message("pic length is too long! externLength = %d len = %d\n", leading, static_cast<int>(picture->length));
        return 0;
    }
    const uint64_t base = dataFileBase(*disk, partition, fileIndex);
    if (handle.pictureFile.readAt(buffer, base + block, blockLength) != static_cast<int64_t>(blockLength)) {
        message("kv_read data error\n");
        message("kv_read failed: %s\n", std::strerror(errno));
        return kReadShort;
    }
    return static_cast<int32_t>(blockLength);
}

}  // namespace kvrfs
