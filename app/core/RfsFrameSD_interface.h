// The frame source over KVPlaySD (SD cards).
#pragma once

#include "ReaderFrameSource.h"

namespace tarn {

class RfsFrameSD_interface final : public ReaderFrameSource {
public:
    RfsFrameSD_interface() : ReaderFrameSource(sdStoreReader()) {}
};

}  // namespace tarn
