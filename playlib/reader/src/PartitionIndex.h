// Reads a partition's file table and event blocks from its primary index copy.
#pragma once

#include <cstdint>
#include <vector>

#include "DiskRegistry.h"
#include "IndexAccess.h"
#include "SearchResults.h"

namespace kvrfs {

class PartitionIndex {
public:
    PartitionIndex(const DiskRecord& disk, int partition);

    // False (with the reason in error()) when the partition has no usable primary copy.
    bool open();
    int32_t error() const { return error_; }

    // The whole file table, file_nr records.
    bool readFileTable(std::vector<rfs::index_file_info>& table);

    // Event blocks of files [first, first + count), as many whole blocks as could be read.
    bool readEventBlocks(uint32_t first, uint32_t count, std::vector<rfs::index_event_info>& blocks,
                         uint32_t& blocksRead);

    uint32_t eventsPerFile() const { return eventsPerFile_; }

private:
    const DiskRecord& disk_;
    int partition_;
    uint32_t eventsPerFile_;
    OpenedIndexCopy copy_;
    int32_t error_ = 0;
};

}  // namespace kvrfs
