#include "PictureRecord.h"

#include "rfs/FrameRecord.h"

namespace tarn {

bool isWholePicture(const uint8_t* buffer, int32_t bytesRead, uint32_t offset) {
    if (bytesRead <= 0 || uint64_t{offset} + rfs::kFrameHeaderSize > static_cast<uint64_t>(bytesRead))
        return false;
    const rfs::KVFrameHeader h = rfs::readFrameHeader(buffer + offset);
    return h.FrameTag == rfs::KVFrameTag &&
           uint64_t{offset} + rfs::kFrameHeaderSize + h.framesize <= static_cast<uint64_t>(bytesRead);
}

}  // namespace tarn
