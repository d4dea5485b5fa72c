#include "IndexSeek.h"

#include <vector>

#include "DiskRegistry.h"
#include "EventRecord.h"
#include "MessageLine.h"
#include "PartitionIndex.h"
#include "ReadHandles.h"
#include "TimeSeek.h"

namespace kvrfs {
namespace {

// The event as the index area holds it, in the form a search lists it; a negative read result when it
// is not there.
int32_t readIndexedEvent(uint32_t recordId, uint32_t eventIndex, rfs_event_t& out) {
    const uint32_t diskId = recordId >> 24;
    const int partition = static_cast<int>(recordId >> 16 & 0xff);
    const uint32_t fileIndex = recordId & 0xffff;
    const DiskRecord* disk =
        diskId < static_cast<uint32_t>(readerProfile().maxDisks) ? registry().disks[diskId].get() : nullptr;
    if (disk == nullptr || partition >= disk->param.part_count || fileIndex >= disk->part[partition].file_nr) {
        message("pg_disk_list:%d is null\n", static_cast<int>(diskId));
        return kReadDiskGone;
    }
    PartitionIndex index(*disk, partition);
    std::vector<rfs::index_file_info> files;
    std::vector<rfs::index_event_info> block;
    uint32_t blocks = 0;
    if (!index.open() || !index.readFileTable(files) || !index.readEventBlocks(fileIndex, 1, block, blocks)) {
        message("read event err!\n");
        return kReadShort;
    }
    const rfs::index_file_info& file = files[fileIndex];
    if (eventIndex >= index.eventsPerFile() || block[eventIndex].magic != rfs::kEventMagic ||
        file.magic != rfs::kFileMagic) {
        message("write ifram offse or time err\n");
        return kReadBadEvent;
    }
    out = eventRecord(recordId, file, block[eventIndex], eventIndex);
    return 0;
}

}  // namespace

int32_t seekIndexedEvent(int handle, const rfs_time_t* seekTime, int direction, uint32_t recordId,
                         uint32_t eventIndex) {
    if (handle < 0 || handle >= kReadHandles || !readHandles()[handle].inUse) {
        message("fs find start invalid fd!\n");
        return kReadBadHandle;
    }
    rfs_event_t event;
    if (const int32_t result = readIndexedEvent(recordId, eventIndex, event); result != 0)
        return result;
    return timeSeek(handle, seekTime, direction, &event, 0, EventSource::IndexArea);
}

}  // namespace kvrfs
