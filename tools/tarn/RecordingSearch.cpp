#include "RecordingSearch.h"

#include "KVPlayHDD.h"
#include "ReaderSearch.h"

namespace tarn {

DayMasks findRecordingDays(const Query& query, const rfs::CalendarTime& month) {
    const rfs::CalendarTime first{month.year, month.month, 1, 0, 0, 0};
    const rfs::CalendarTime next = month.month == 12 ? rfs::CalendarTime{month.year + 1, 1, 1, 0, 0, 0}
                                                     : rfs::CalendarTime{month.year, month.month + 1, 1, 0, 0, 0};
    const rfs::CalendarTime last = rfs::fromEpochSeconds(rfs::toEpochSeconds(next) - 1);
    const SearchParam param(query, SearchData::Recordings, SearchType::Month, first, last);
    DayMasks days{};
    const int32_t result = KVrfs_find_start_hdd(param.get(), days.data());
    if (result < 0)
        searchFailed(result);
    return days;
}

std::vector<ChannelRecordings> findRecordings(const Query& query, const rfs::CalendarTime& from,
                                              const rfs::CalendarTime& to) {
    const SearchParam param(query, SearchData::Recordings, SearchType::PerChannel, from, to);
    const SearchHandle handle(param);

    std::vector<ChannelRecordings> found;
    for (const Channel& channel : query.channels) {
        rfs_event_list_t list{};
        const int32_t result = KVrfs_get_event_hdd(handle.get(), query.layout.storeChannel(channel), &list);
        if (result != 0)
            searchFailed(result);
        found.push_back(ChannelRecordings{channel, std::vector<rfs_event_t>(list.list, list.list + list.count)});
    }
    return found;
}

}  // namespace tarn
