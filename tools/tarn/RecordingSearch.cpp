#include "RecordingSearch.h"

#include "Failure.h"
#include "KVPlayHDD.h"

namespace tarn {
namespace {

constexpr uint8_t kRecordings = 0;
constexpr uint8_t kMonthSearch = 0;
constexpr uint8_t kPerChannelSearch = 3;
constexpr int kStoreChannels = 2 * ChannelLayout::kMaxChannels;

// The reader's search parameters; they point into the channel bits, so the object stays where it is made.
class SearchParam {
public:
    SearchParam(const Query& query, uint8_t searchType, const rfs::CalendarTime& from, const rfs::CalendarTime& to) {
        for (const Channel& channel : query.channels) {
            const int c = query.layout.storeChannel(channel);
            channelBits_[c / 8] |= static_cast<uint8_t>(1u << (c % 8));
        }
        param_.data_type = kRecordings;
        param_.search_type = searchType;
        param_.record_type = static_cast<int32_t>(query.recordTypes);
        param_.chnCnt = kStoreChannels;
        param_.chnBit = channelBits_.data();
        param_.start = rfs::toRfsTime(rfs::packTime(from));
        param_.end = rfs::toRfsTime(rfs::packTime(to));
    }
    SearchParam(const SearchParam&) = delete;
    SearchParam& operator=(const SearchParam&) = delete;

    const rfs_find_param_t* get() const { return &param_; }

private:
    std::array<uint8_t, kStoreChannels / 8> channelBits_{};
    rfs_find_param_t param_{};
};

// A search handle, given back to the reader however the search ends.
class SearchHandle {
public:
    explicit SearchHandle(int handle) : handle_(handle) {}
    ~SearchHandle() { KVrfs_find_stop_hdd(handle_); }
    SearchHandle(const SearchHandle&) = delete;
    SearchHandle& operator=(const SearchHandle&) = delete;

    int get() const { return handle_; }

private:
    int handle_;
};

[[noreturn]] void searchFailed(int32_t code) {
    throw Failure("the reader could not search the store (code " + std::to_string(code) + ")");
}

}  // namespace

DayMasks findRecordingDays(const Query& query, const rfs::CalendarTime& month) {
    const rfs::CalendarTime first{month.year, month.month, 1, 0, 0, 0};
    const rfs::CalendarTime next = month.month == 12 ? rfs::CalendarTime{month.year + 1, 1, 1, 0, 0, 0}
                                                     : rfs::CalendarTime{month.year, month.month + 1, 1, 0, 0, 0};
    const rfs::CalendarTime last = rfs::fromEpochSeconds(rfs::toEpochSeconds(next) - 1);
    const SearchParam param(query, kMonthSearch, first, last);
    DayMasks days{};
    const int32_t result = KVrfs_find_start_hdd(param.get(), days.data());
    if (result < 0)
        searchFailed(result);
    return days;
}

std::vector<ChannelRecordings> findRecordings(const Query& query, const rfs::CalendarTime& from,
                                              const rfs::CalendarTime& to) {
    const SearchParam param(query, kPerChannelSearch, from, to);
    const int32_t started = KVrfs_find_start_hdd(param.get(), nullptr);
    if (started < 0)
        searchFailed(started);
    const SearchHandle handle(started);

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
