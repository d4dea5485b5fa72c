#include "CBaseRecordFile.h"

#include <algorithm>
#include <new>

namespace kvplay::record {

std::span<uint8_t> CBaseRecordFile::workBuffer(std::size_t size) {
    if (workBuffer_.size() < size) {
        try {
            workBuffer_.resize(std::max(size, kWorkBufferSize));
        } catch (const std::bad_alloc&) {
            return {};
        }
    }
    return workBuffer_;
}

void CBaseRecordFile::releaseWorkBuffer() {
    workBuffer_.clear();
    workBuffer_.shrink_to_fit();
}

}  // namespace kvplay::record
