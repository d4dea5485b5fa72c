// The record a caller receives for an event of the index area.
#pragma once

#include <cstdint>

#include "rfs/IndexRecords.h"
#include "rfs/rfs_types.h"

namespace kvrfs {

constexpr uint32_t recordIdOf(int diskId, int partition, uint32_t fileIndex) {
    return static_cast<uint32_t>(diskId) << 24 | static_cast<uint32_t>(partition) << 16 | (fileIndex & 0xffff);
}

// k: the event's place in its file's event block. Handle, slot, index and pass are the search's.
rfs_event_t eventRecord(uint32_t recordId, const rfs::index_file_info& file, const rfs::index_event_info& event,
                        uint32_t k);

}  // namespace kvrfs
