#include "CBaseRecordFile.h"

#include <new>

namespace kvplay::record {

std::span<uint8_t> CBaseRecordFile::workBuffer() {
    if (workBuffer_.empty()) {
        try {
            workBuffer_.resize(kWorkBufferSize);
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
