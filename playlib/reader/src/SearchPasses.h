// The disks and partitions one pass of a search visits: normal disks (the lower groups) in pass 0,
// redundant disks (the upper groups) in pass 1, each usable partition whose range of recordings or of
// pictures overlaps the search span.
#pragma once

#include <cstdint>
#include <functional>

#include "DiskRegistry.h"
#include "SearchRequest.h"

namespace kvrfs {

enum class StoredKind { Recordings, Pictures };

using PartitionVisitor = std::function<int32_t(const DiskRecord& disk, int partition)>;

// 0, or the first non-zero result of the visitor, which ends the pass.
int32_t visitPassPartitions(int pass, const SearchRequest& request, StoredKind kind, const PartitionVisitor& visit);

}  // namespace kvrfs
