#include "ReadHandles.h"

#include "KeyFrameEntries.h"
#include "MessageLine.h"
#include "ReaderProfile.h"

namespace kvrfs {

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
    const uint32_t windowEntries = readerProfile().keyFrameWindowEntries;
    window.entries.resize(windowEntries);
    window.first = entry / windowEntries * windowEntries;
    window.count = 0;
    if (!readKeyFrameEntries(handle.dataFile, handle.fileBase, window.first, windowEntries, window.entries.data())) {
        message("start:%lld, count:%u err\n", static_cast<long long>(window.first), windowEntries);
        return false;
    }
    window.count = windowEntries;
    return true;
}

}  // namespace kvrfs
