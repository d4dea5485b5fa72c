// The events of one partition that a request accepts: file records in use, of the requested data type
// and channels, overlapping the span; complete events that are not hidden, of a matching record type,
// overlapping the span. Event blocks are read 40 files at a time.
#pragma once

#include <cstdint>
#include <functional>

#include "DiskRegistry.h"
#include "SearchRequest.h"
#include "rfs/IndexRecords.h"

namespace kvrfs {

// k: the event's place in its file's event block. A non-zero result ends the walk.
using PartitionEventVisitor = std::function<int32_t(uint32_t fileIndex, const rfs::index_file_info& file,
                                                    const rfs::index_event_info& event, uint32_t k)>;

// 0, the first non-zero result of the visitor, or a negative result of an index read. A partition
// without a valid index copy gives 0 and nothing.
int32_t visitPartitionEvents(const DiskRecord& disk, int partition, const SearchRequest& request,
                             const PartitionEventVisitor& visit);

}  // namespace kvrfs
