#include "SdSearch.h"

#include "CountSearch.h"
#include "DayTimeline.h"
#include "MessageLine.h"
#include "SdEventLists.h"
#include "SearchControl.h"
#include "SearchResults.h"

namespace kvrfs {
namespace {

constexpr uint8_t kTimelineSearch = 1;
constexpr uint8_t kMergedSearch = 2;
constexpr uint8_t kPerChannelSearch = 3;
constexpr uint8_t kCountSearch = 4;

int32_t startListSearch(const rfs_find_param_t& param, void* out, int num) {
    const bool counted = param.find_mode == kCountSearch && param.data_type == 0 &&
                         (param.search_type == kMergedSearch || param.search_type == kPerChannelSearch);
    return counted ? runCountSearch(param, out, num) : findStart(&param, out);
}

}  // namespace

int32_t sdFindStart(const rfs_find_param_t* param, void* out, int num) {
    if (param == nullptr)
        return kBadParam;
    if (param->search_type == kTimelineSearch) {
        if (out == nullptr) {
            message("param which input is err\n");
            return kBadParam;
        }
        const int32_t result = runDayTimeline(*param, static_cast<uint32_t*>(out));
        return result < 0 ? result : kNoHandleResult;
    }
    if (param->search_type != kMergedSearch)
        return startListSearch(*param, out, num);

    // The merged list is handed out in the card's record form.
    rfs_event_list_t merged{};
    const int32_t handle = startListSearch(*param, out == nullptr ? nullptr : &merged, num);
    if (handle >= 0 && handle < kNoHandleResult)
        *static_cast<rfs_sd_event_list_t*>(out) = sdEventList(handle, 0, merged);
    return handle;
}

int32_t sdFindStop(int handle) {
    if (handle >= 0 && handle < kNoHandleResult)
        releaseSdEventLists(handle);
    return findStop(handle);
}

int32_t sdGetEventList(int handle, int slot, rfs_sd_event_list_t* out) {
    rfs_event_list_t list{};
    const int32_t result = getEventList(handle, slot, out == nullptr ? nullptr : &list);
    if (result == 0)
        *out = sdEventList(handle, slot, list);
    return result;
}

}  // namespace kvrfs
