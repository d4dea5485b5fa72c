#include "SearchHandles.h"

namespace kvrfs {

std::array<SearchHandle, kSearchHandles>& searchHandles() {
    static std::array<SearchHandle, kSearchHandles> handles;
    return handles;
}

int takeSearchHandle(SearchKind kind) {
    auto& handles = searchHandles();
    for (int h = 0; h < kSearchHandles; ++h) {
        if (handles[h].kind == SearchKind::Free) {
            handles[h].kind = kind;
            return h;
        }
    }
    return -1;
}

void freeSearchHandle(int handle) { searchHandles()[handle] = SearchHandle{}; }

void freeAllSearchHandles() {
    for (int h = 0; h < kSearchHandles; ++h)
        freeSearchHandle(h);
}

}  // namespace kvrfs
