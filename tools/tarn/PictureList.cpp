#include "PictureList.h"

#include "AttachedStore.h"

namespace tarn {

PictureList::PictureList(const Query& query, const rfs::CalendarTime& from, const rfs::CalendarTime& to)
    : handle_(SearchParam(query, SearchData::Pictures, SearchType::PerChannel, from, to)) {
    rfs_pic_list_t list{};
    const int32_t result = attachedReader().pictures(handle_.get(), 0, list);
    if (result != 0)
        searchFailed(result);
    for (int i = 0; i < list.count; ++i)
        pictures_.push_back({list.list[i], query.layout.channelAt(list.list[i].pic_chn)});
}

}  // namespace tarn
