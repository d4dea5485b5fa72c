#include "SdEventRecord.h"

#include <array>
#include <vector>

#include "SearchHandles.h"

namespace kvrfs {
namespace {

using SlotLists = std::array<std::vector<rfs_sd_event_t>, kChannelSlots>;

std::array<SlotLists, kSearchHandles>& sdLists() {
    static std::array<SlotLists, kSearchHandles> lists;
    return lists;
}

// The fields both records have, under the same names.
template <typename To, typename From>
To withCommonFields(const From& in) {
    To out{};
    out.handle = in.handle;
    out.slot = in.slot;
    out.invalid = in.invalid;
    out.index = in.index;
    out.record_id = in.record_id;
    out.rec_type = in.rec_type;
    out.chn = in.chn;
    out.norm = in.norm;
    out.res = in.res;
    out.pass = in.pass;
    out.marked = in.marked;
    out.start = in.start;
    out.end = in.end;
    out.data_start = in.data_start;
    out.data_len = in.data_len;
    out.kf_top = in.kf_top;
    out.kf_low = in.kf_low;
    out.thumbnail_offset = in.thumbnail_offset;
    return out;
}

}  // namespace

rfs_sd_event_t toSdEvent(const rfs_event_t& event) {
    auto out = withCommonFields<rfs_sd_event_t>(event);
    out.event_idx = static_cast<uint8_t>(event.event_idx);
    return out;
}

rfs_event_t fromSdEvent(const rfs_sd_event_t& event) {
    auto out = withCommonFields<rfs_event_t>(event);
    out.event_idx = event.event_idx;
    return out;
}

rfs_sd_event_list_t sdEventList(int handle, int slot, const rfs_event_list_t& list) {
    std::vector<rfs_sd_event_t>& converted = sdLists()[handle][slot];
    // Same size, same storage: a list handed out earlier stays valid and shows the current marks.
    converted.resize(static_cast<std::size_t>(list.count));
    for (int i = 0; i < list.count; ++i)
        converted[i] = toSdEvent(list.list[i]);
    return {converted.empty() ? nullptr : converted.data(), list.count};
}

void releaseSdEventLists(int handle) {
    for (std::vector<rfs_sd_event_t>& list : sdLists()[handle])
        list = {};
}

}  // namespace kvrfs
