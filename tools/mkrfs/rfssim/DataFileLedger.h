// Which data files of the store are taken: hands out free ones in order (partition 0 first) and keeps
// the closed ones, numbering them in the order they were closed.
#pragma once

#include <cstdint>
#include <vector>

#include "rfssim/DataFileWriter.h"

namespace rfssim {

class DataFileLedger {
public:
    explicit DataFileLedger(std::vector<uint32_t> filesPerPartition);

    // Throws SimError when every file is taken.
    DataFileSlot allocate();
    std::vector<DataFileSlot> unallocated() const;

    uint32_t nextSequence() const { return static_cast<uint32_t>(closed_.size() + 1); }
    void recordClosed(ClosedDataFile file);
    const std::vector<ClosedDataFile>& closedFiles() const { return closed_; }

private:
    std::vector<uint32_t> filesPerPartition_;
    DataFileSlot next_;
    std::vector<ClosedDataFile> closed_;
};

}  // namespace rfssim
