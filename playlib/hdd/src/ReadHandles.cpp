#include "ReadHandles.h"

#include "MessageLine.h"

namespace kvhdd {

std::array<ReadHandle, kReadHandles>& readHandles() {
    static std::array<ReadHandle, kReadHandles> handles;
    return handles;
}

int32_t readStart(int chn) {
    auto& handles = readHandles();
    for (int h = 0; h < kReadHandles; ++h) {
        if (!handles[h].inUse) {
            handles[h] = ReadHandle{};
            handles[h].inUse = true;
            handles[h].chn = chn;
            return h;
        }
    }
    return -2;
}

int32_t readStop(int handle) {
    if (handle < 0 || handle >= kReadHandles) {
        message("invalid param\n");
        return kReadBadHandle;
    }
    readHandles()[handle] = ReadHandle{};
    return 0;
}

void freeAllReadHandles() {
    for (ReadHandle& handle : readHandles())
        handle = ReadHandle{};
}

bool loadKeyFrameWindow(ReadHandle& handle, int64_t entry) {
    KeyFrameWindow& window = handle.window;
    if (window.holds(entry))
        return true;
    window.entries.resize(kWindowEntries);
    window.first = entry / kWindowEntries * kWindowEntries;
    window.count = 0;
    const std::size_t bytes = kWindowEntries * sizeof(rfs::iframe_info_t);
    const int64_t n = handle.dataFile.readAt(window.entries.data(),
                                             handle.fileBase + static_cast<uint64_t>(window.first) * 32, bytes);
    if (n != static_cast<int64_t>(bytes)) {
        message("start:%lld, count:%u err\n", static_cast<long long>(window.first), kWindowEntries);
        return false;
    }
    window.count = kWindowEntries;
    return true;
}

}  // namespace kvhdd
