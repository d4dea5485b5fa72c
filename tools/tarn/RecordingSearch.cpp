#include "RecordingSearch.h"

#include "AttachedStore.h"
#include "ReaderSearch.h"

namespace tarn {

DayMasks findRecordingDays(const Query& query, const rfs::CalendarTime& month) {
    const rfs::CalendarTime first{month.year, month.month, 1, 0, 0, 0};
    const rfs::CalendarTime next = month.month == 12 ? rfs::CalendarTime{month.year + 1, 1, 1, 0, 0, 0}
                                                     : rfs::CalendarTime{month.year, month.month + 1, 1, 0, 0, 0};
    const rfs::CalendarTime last = rfs::fromEpochSeconds(rfs::toEpochSeconds(next) - 1);
    const SearchParam param(query, SearchData::Recordings, SearchType::Month, first, last);
    DayMasks days{};
    const int32_t result = attachedReader().findStart(*param.get(), days.data());
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
        ChannelRecordings recordings{channel, {}};
        const int32_t result =
            attachedReader().events(handle.get(), query.layout.storeChannel(channel), recordings.events);
        if (result != 0)
            searchFailed(result);
        found.push_back(std::move(recordings));
    }
    return found;
}

}  // namespace tarn
