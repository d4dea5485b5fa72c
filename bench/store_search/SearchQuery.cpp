#include "SearchQuery.h"

#include "KVPlayHDD.h"

namespace storebench {
namespace {

rfs_time_t rfsTime(int64_t second) {
    return rfs::toRfsTime(rfs::packTime(rfs::fromEpochSeconds(second)));
}

}  // namespace

ChannelBits ChannelBits::all() {
    ChannelBits bits;
    bits.bytes.fill(0xff);
    return bits;
}

ChannelBits ChannelBits::one(int track) {
    ChannelBits bits;
    bits.bytes[track / 8] = static_cast<uint8_t>(1u << (track % 8));
    return bits;
}

rfs_find_param_t eventQuery(uint8_t searchType, const ChannelBits& bits, int64_t from, int64_t to) {
    rfs_find_param_t q{};
    q.data_type = 0;
    q.search_type = searchType;
    q.record_type = -1;
    q.chnCnt = kTracks;
    q.start = rfsTime(from);
    q.end = rfsTime(to);
    q.chnBit = bits.bytes.data();
    return q;
}

std::vector<rfs_event_t> listedEvents(int handle) {
    std::vector<rfs_event_t> events;
    for (int slot = 0; slot < kTracks; ++slot) {
        rfs_event_list_t list{};
        if (KVrfs_get_event_hdd(handle, slot, &list) != 0)
            return {};
        events.insert(events.end(), list.list, list.list + list.count);
    }
    return events;
}

}  // namespace storebench
