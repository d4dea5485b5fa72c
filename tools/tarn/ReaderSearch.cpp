#include "ReaderSearch.h"

#include "AttachedStore.h"
#include "Failure.h"

namespace tarn {

SearchParam::SearchParam(const Query& query, SearchData data, SearchType type, const rfs::CalendarTime& from,
                         const rfs::CalendarTime& to) {
    for (const Channel& channel : query.channels) {
        const int c = query.layout.storeChannel(channel);
        channelBits_[c / 8] |= static_cast<uint8_t>(1u << (c % 8));
    }
    param_.data_type = static_cast<uint8_t>(data);
    param_.search_type = static_cast<uint8_t>(type);
    param_.record_type = static_cast<int32_t>(query.recordTypes);
    param_.chnCnt = kStoreChannels;
    param_.chnBit = channelBits_.data();
    param_.start = rfs::toRfsTime(rfs::packTime(from));
    param_.end = rfs::toRfsTime(rfs::packTime(to));
}

SearchHandle::SearchHandle(const SearchParam& param) : handle_(attachedReader().findStart(*param.get(), nullptr)) {
    if (handle_ < 0)
        searchFailed(handle_);
}

SearchHandle::~SearchHandle() {
    attachedReader().findStop(handle_);
}

void searchFailed(int32_t code) {
    throw Failure("the reader could not search the store (code " + std::to_string(code) + ")");
}

}  // namespace tarn
