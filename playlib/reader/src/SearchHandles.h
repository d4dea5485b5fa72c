// The 64 search handles: each owns one sorted event list per channel slot and a cursor in it, and a
// picture list per slot (a picture search fills slot 0's).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "rfs/PackedTime.h"
#include "rfs/rfs_types.h"

namespace kvrfs {

constexpr int kSearchHandles = 64;
constexpr int kChannelSlots = 128;

enum class SearchKind : uint8_t { Free = 0, Recordings = 1, Other = 2 };

struct SlotList {
    std::vector<rfs_event_t> events;
    std::vector<rfs_pic_t> pictures;
    uint32_t capacityStep = 0;  // list growth is reported in the recorder's steps, as the diagnostics expect
    int pass0Count = 0;
    int cursor = -1;
};

struct SearchHandle {
    SearchKind kind = SearchKind::Free;
    rfs::PackedTime earliestStart = 0;
    rfs::PackedTime latestEnd = 0;
    std::array<std::array<bool, 4>, 26> contributed{};
    std::array<SlotList, kChannelSlots> slots;
};

std::array<SearchHandle, kSearchHandles>& searchHandles();

// The lowest free handle, marked with `kind`; -1 when all are in use.
int takeSearchHandle(SearchKind kind);
void freeSearchHandle(int handle);
void freeAllSearchHandles();

}  // namespace kvrfs
