#include "SdEventLists.h"

#include <array>
#include <vector>

#include "SearchHandles.h"
#include "rfs/SdEventRecord.h"

namespace kvrfs {
namespace {

using SlotLists = std::array<std::vector<rfs_sd_event_t>, kChannelSlots>;

std::array<SlotLists, kSearchHandles>& sdLists() {
    static std::array<SlotLists, kSearchHandles> lists;
    return lists;
}

}  // namespace

rfs_sd_event_list_t sdEventList(int handle, int slot, const rfs_event_list_t& list) {
    std::vector<rfs_sd_event_t>& converted = sdLists()[handle][slot];
    // Same size, same storage: a list handed out earlier stays valid and shows the current marks.
    converted.resize(static_cast<std::size_t>(list.count));
    for (int i = 0; i < list.count; ++i)
        converted[i] = rfs::toSdEvent(list.list[i]);
    return {converted.empty() ? nullptr : converted.data(), list.count};
}

void releaseSdEventLists(int handle) {
    for (std::vector<rfs_sd_event_t>& list : sdLists()[handle])
        list = {};
}

}  // namespace kvrfs
