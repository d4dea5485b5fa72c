#include "PartitionIndex.h"

#include "FileTable.h"
#include "MessageLine.h"

namespace kvrfs {

PartitionIndex::PartitionIndex(const DiskRecord& disk, int partition)
    : disk_(disk), partition_(partition), eventsPerFile_(rfs::eventsPerFile(disk.param.dataFileSize)) {}

bool PartitionIndex::open() {
    const auto copies = rfs::chooseIndexCopies(disk_.param.index_valid[partition_]);
    if (!copies) {
        message("can't find valid index!\n");
        error_ = 0;
        return false;
    }
    const AccessMode mode = registry().mode();
    copy_ = openIndexCopy(mode, disk_.path, disk_.param, partition_, copies->primary, OpenFor::Read);
    if (!copy_.file.isOpen()) {
        // Rebuilding a bad copy from a good one is not built yet, so the search stops here.
        message("open %s err\n", copy_.file.name().c_str());
        error_ = kIndexOpenFailed;
        return false;
    }
    return true;
}

bool PartitionIndex::readFileTable(std::vector<rfs::index_file_info>& table) {
    const uint32_t files = disk_.part[partition_].file_nr;
    const std::size_t bytes = fileTableBytes(files);
    std::vector<unsigned char> raw(bytes);
    if (copy_.file.readAt(raw.data(), copy_.areaOffset + disk_.param.file_table_offset, bytes) !=
        static_cast<int64_t>(bytes)) {
        message("kv_read err\n");
        error_ = kIndexShortRead;
        return false;
    }
    table = decodeFileTable(raw, files);
    return true;
}

bool PartitionIndex::readEventBlocks(uint32_t first, uint32_t count, std::vector<rfs::index_event_info>& blocks,
                                     uint32_t& blocksRead) {
    const std::size_t blockBytes = eventsPerFile_ * sizeof(rfs::index_event_info);
    blocks.resize(static_cast<std::size_t>(count) * eventsPerFile_);
    const uint64_t offset =
        copy_.areaOffset + rfs::eventBlockOffset(disk_.param.event_table_offset, first, eventsPerFile_);
    const int64_t n = copy_.file.readAt(blocks.data(), offset, count * blockBytes);
    blocksRead = n < 0 ? 0 : static_cast<uint32_t>(static_cast<std::size_t>(n) / blockBytes);
    // A read shorter than one block would leave the events of an earlier window in the buffer.
    if (blocksRead == 0) {
        message("kv_read event err\n");
        error_ = kIndexShortRead;
        return false;
    }
    return true;
}

}  // namespace kvrfs
