#include "ListingCheck.h"

#include <algorithm>

namespace storebench {
namespace {

std::string describe(const EventKey& k) {
    return "chn " + std::to_string(k.chn) + " " + rfs::formatTime(rfs::unpackTime(k.start)) + ".." +
           rfs::formatTime(rfs::unpackTime(k.end)).substr(11) + " part " + std::to_string(k.recordId >> 16 & 0xff) +
           " file " + std::to_string(k.recordId & 0xffff) + " event " + std::to_string(k.eventIdx) + " type " +
           std::to_string(k.recType) + " data " + std::to_string(k.dataStart) + "+" + std::to_string(k.dataLen) +
           " kf " + std::to_string(k.kfLow) + ".." + std::to_string(k.kfTop);
}

}  // namespace

EventKey keyOf(const rfs_event_t& e) {
    return EventKey{rfs::packTime(e.start),
                    e.chn,
                    rfs::packTime(e.end),
                    e.record_id,
                    e.event_idx,
                    e.rec_type,
                    e.data_start,
                    e.data_len,
                    e.kf_top,
                    e.kf_low};
}

std::vector<EventKey> writtenEvents(const StoreLayout& layout, int track, int64_t from, int64_t to) {
    std::vector<EventKey> keys;
    for (const PlannedFile& f : layout.files) {
        if (track >= 0 && f.track != track)
            continue;
        for (std::size_t k = 0; k < f.events.size(); ++k) {
            const rfs::index_event_info& e = f.events[k];
            const int64_t start = eventStartSecond(e);
            if (start < from || start > to)
                continue;
            keys.push_back(EventKey{e.start_time, static_cast<uint8_t>(f.track), e.end_time, recordId(f),
                                    static_cast<int32_t>(k), e.rec_type, e.data_start, e.data_len, e.kf_top, e.kf_low});
        }
    }
    return keys;
}

Check compareListing(std::string name, std::vector<EventKey> written, std::vector<EventKey> listed) {
    std::sort(written.begin(), written.end());
    std::sort(listed.begin(), listed.end());
    Check check{std::move(name), written == listed,
                std::to_string(listed.size()) + " listed, " + std::to_string(written.size()) + " written"};
    if (check.ok)
        return check;
    std::vector<EventKey> missing;
    std::vector<EventKey> extra;
    std::set_difference(written.begin(), written.end(), listed.begin(), listed.end(), std::back_inserter(missing));
    std::set_difference(listed.begin(), listed.end(), written.begin(), written.end(), std::back_inserter(extra));
    check.detail += "; " + std::to_string(missing.size()) + " written but not listed, " + std::to_string(extra.size()) +
                    " listed but not written";
    if (!missing.empty())
        check.detail += "; first not listed: " + describe(missing.front());
    if (!extra.empty())
        check.detail += "; first not written: " + describe(extra.front());
    return check;
}

}  // namespace storebench
