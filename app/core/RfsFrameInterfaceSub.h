// The frame source over KVPlayHDD (hard disks, disk images and folder stores).
#pragma once

#include "ReaderFrameSource.h"

namespace tarn {

class RfsFrameInterfaceSub final : public ReaderFrameSource {
public:
    RfsFrameInterfaceSub() : ReaderFrameSource(hddStoreReader()) {}
};

}  // namespace tarn
