#include "KeyFrameEntries.h"

#include <vector>

#include "ReaderProfile.h"
#include "rfs/FrameRecord.h"

namespace kvrfs {

uint32_t keyFrameEntrySize() {
    return readerProfile().keyFrameEntrySize;
}

void decodeKeyFrameEntries(const unsigned char* raw, std::size_t count, rfs::iframe_info_t* out) {
    const ReaderProfile& profile = readerProfile();
    for (std::size_t i = 0; i < count; ++i)
        out[i] = profile.decodeKeyFrameEntry(raw + i * profile.keyFrameEntrySize);
}

bool readKeyFrameEntries(const StoreFile& file, uint64_t fileBase, int64_t first, std::size_t count,
                         rfs::iframe_info_t* out) {
    const std::size_t bytes = count * keyFrameEntrySize();
    std::vector<unsigned char> raw(bytes);
    if (first < 0 || file.readAt(raw.data(), fileBase + static_cast<uint64_t>(first) * keyFrameEntrySize(), bytes) !=
                         static_cast<int64_t>(bytes))
        return false;
    decodeKeyFrameEntries(raw.data(), count, out);
    return true;
}

uint64_t keyFrameLength(const StoreFile& file, uint64_t fileBase, const rfs::iframe_info_t& entry) {
    if (entry.length != 0)
        return entry.length;
    unsigned char bytes[rfs::kFrameHeaderSize];
    if (file.readAt(bytes, fileBase + entry.offset, sizeof bytes) != static_cast<int64_t>(sizeof bytes))
        return 0;
    const rfs::KVFrameHeader header = rfs::readFrameHeader(bytes);
    return rfs::isFrameHeader(header) ? rfs::storedFrameLength(header.framesize) : 0;
}

}  // namespace kvrfs
