#include "rfssim/DataFileLedger.h"

#include <numeric>
#include <string>

#include "rfssim/SimError.h"

namespace rfssim {

DataFileLedger::DataFileLedger(std::vector<uint32_t> filesPerPartition)
    : filesPerPartition_(std::move(filesPerPartition)) {}

DataFileSlot DataFileLedger::allocate() {
    while (next_.partition < static_cast<int>(filesPerPartition_.size()) &&
           next_.index >= filesPerPartition_[next_.partition])
        next_ = DataFileSlot{next_.partition + 1, 0};
    if (next_.partition == static_cast<int>(filesPerPartition_.size()))
        throw SimError("the recordings need more data files than the store has (" +
                       std::to_string(std::accumulate(filesPerPartition_.begin(), filesPerPartition_.end(), 0u)) +
                       "); give the partitions more files");
    return DataFileSlot{next_.partition, next_.index++};
}

std::vector<DataFileSlot> DataFileLedger::unallocated() const {
    std::vector<DataFileSlot> slots;
    for (int p = next_.partition; p < static_cast<int>(filesPerPartition_.size()); ++p)
        for (uint32_t n = p == next_.partition ? next_.index : 0; n < filesPerPartition_[p]; ++n)
            slots.push_back(DataFileSlot{p, n});
    return slots;
}

void DataFileLedger::recordClosed(ClosedDataFile file) {
    closed_.push_back(std::move(file));
}

}  // namespace rfssim
