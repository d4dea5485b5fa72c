#include "SearchControl.h"

#include <algorithm>
#include <new>

#include "DiskRegistry.h"
#include "EventSearch.h"
#include "MessageLine.h"
#include "MonthSearch.h"
#include "PictureMonthSearch.h"
#include "PictureSearch.h"
#include "ReaderProfile.h"
#include "SearchDiagnostics.h"
#include "SearchHandles.h"
#include "SearchResults.h"

namespace kvrfs {
namespace {


enum SearchType : uint8_t { MonthSearch = 0, NoSearch = 1, MergedSearch = 2, PerChannelSearch = 3 };
enum DataType : uint8_t { RecordingData = 0, PictureData = 1, LabelData = 2 };
constexpr uint8_t kAllocateOnly = 4;

// The handle and slot of a list request; 0 when both are in range and there is somewhere to put the list.
int32_t checkListRequest(int handle, int slot, const void* out) {
    if (handle < 0 || handle >= kSearchHandles)
        return kBadHandle;
    if (slot < 0 || slot >= 2 * registry().maxRecChannels || slot >= kChannelSlots)
        return kBadSlot;
    return out == nullptr ? kBadParam : 0;
}

// The search that fills a handle's lists: events, or pictures; other data types list nothing.
int32_t runListSearch(int handle, const rfs_find_param_t& param) {
    const bool events = param.data_type == RecordingData && param.find_mode != kAllocateOnly;
    if (!events && param.data_type != PictureData)
        return 0;
    dumpSearchParameters(param);
    try {
        return events ? runEventSearch(handle, param) : runPictureSearch(handle, param);
    } catch (const std::bad_alloc&) {
        message(events ? "realloc event buf err\n" : "realloc pic buf err\n");
        return kNoMemory;
    }
}

}  // namespace

int32_t findStart(const rfs_find_param_t* param, void* out) {
    if (param == nullptr)
        return kBadParam;
    if ((param->search_type == NoSearch || param->search_type == MergedSearch) && out == nullptr) {
        message("param which input is err\n");
        return kBadParam;
    }
    if (param->search_type > PerChannelSearch) {
        message("find type err\n");
        return kBadSearchType;
    }
    if (param->search_type == MonthSearch) {
        if (out == nullptr) {
            message("invalid param output mon\n");
            return kBadParam;
        }
        auto* days = static_cast<uint32_t*>(out);
        int32_t result = 0;
        if (param->data_type == RecordingData)
            result = runMonthSearch(*param, days);
        else if (param->data_type == PictureData)
            result = runPictureMonthSearch(*param, days);
        else if (param->data_type == LabelData && readerProfile().labelMonthSearch != nullptr)
            result = readerProfile().labelMonthSearch(*param, days);
        else
            return kBadSearchType;
        return result != 0 ? result : kNoHandleResult;
    }
    if (param->search_type == NoSearch)
        return kNoHandleResult;

    const int handle =
        takeSearchHandle(param->data_type == RecordingData ? SearchKind::Recordings : SearchKind::Other);
    if (handle < 0) {
        message("have no g_output\n");
        return kNoFreeHandle;
    }
    const int32_t result = runListSearch(handle, *param);
    if (result < 0) {
        freeSearchHandle(handle);
        message("err\n");
        return result;
    }
    if (param->search_type == MergedSearch) {
        SlotList& slot0 = searchHandles()[handle].slots[0];
        auto* list = static_cast<rfs_event_list_t*>(out);
        list->list = slot0.events.empty() ? nullptr : slot0.events.data();
        list->count = static_cast<int>(slot0.events.size());
    }
    return handle;
}

int32_t findStop(int handle) {
    if (handle < 0 || handle >= kSearchHandles || searchHandles()[handle].kind == SearchKind::Free)
        return 0;
    freeSearchHandle(handle);
    return 0;
}

int32_t getEventList(int handle, int slot, rfs_event_list_t* out) {
    if (const int32_t refused = checkListRequest(handle, slot, out); refused != 0)
        return refused;
    SearchHandle& h = searchHandles()[handle];
    if (h.kind == SearchKind::Free)
        return kHandleNotInUse;
    SlotList& list = h.slots[slot];
    out->list = list.events.empty() ? nullptr : list.events.data();
    out->count = static_cast<int>(list.events.size());
    return 0;
}

int32_t getPictureList(int handle, int slot, rfs_pic_list_t* out) {
    if (const int32_t refused = checkListRequest(handle, slot, out); refused != 0)
        return refused;
    SearchHandle& h = searchHandles()[handle];
    if (h.kind != SearchKind::Other) {
        message("%d handle isn't exist\n", handle);
        return kHandleNotInUse;
    }
    std::vector<rfs_pic_t>& list = h.slots[slot].pictures;
    out->list = list.empty() ? nullptr : list.data();
    out->count = static_cast<int>(std::min(list.size(), kMaxKeptPictures));
    return 0;
}

}  // namespace kvrfs
