// The partitions a month search reads: every usable partition of every searched disk whose range of
// recordings or of pictures covers the month, with its file table.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "DiskRegistry.h"
#include "SearchPasses.h"

namespace kvrfs {

using MonthFileTableVisitor = std::function<int32_t(const DiskRecord& disk, int partition,
                                                    const std::vector<rfs::index_file_info>& files)>;

// month: year and month of a packed time (rfs::monthOf). 0, or the first failure of a read or of the
// visitor, which ends the walk.
int32_t visitMonthFileTables(uint32_t month, StoredKind kind, const MonthFileTableVisitor& visit);

}  // namespace kvrfs
