#include "SearchControl.h"

#include <new>

#include "DiskRegistry.h"
#include "EventSearch.h"
#include "LabelSearch.h"
#include "MessageLine.h"
#include "MonthSearch.h"
#include "SearchDiagnostics.h"
#include "SearchHandles.h"
#include "SearchResults.h"

namespace kvhdd {
namespace {


enum SearchType : uint8_t { MonthSearch = 0, NoSearch = 1, MergedSearch = 2, PerChannelSearch = 3 };
constexpr uint8_t kAllocateOnly = 4;

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
        // Picture months are answered by the picture search, which is not part of this reader yet.
        if (param->data_type == 1 || param->data_type > 2)
            return kBadSearchType;
        uint32_t* days = static_cast<uint32_t*>(out);
        const int32_t result =
            param->data_type == 2 ? runLabelMonthSearch(*param, days) : runMonthSearch(*param, days);
        return result != 0 ? result : kNoHandleResult;
    }
    if (param->search_type == NoSearch)
        return kNoHandleResult;

    const int handle = takeSearchHandle(param->data_type == 0 ? SearchKind::Recordings : SearchKind::Other);
    if (handle < 0) {
        message("have no g_output\n");
        return kNoFreeHandle;
    }
    if (param->data_type == 0 && param->find_mode != kAllocateOnly) {
        dumpSearchParameters(*param);
        int32_t result = 0;
        try {
            result = runEventSearch(handle, *param);
        } catch (const std::bad_alloc&) {
            message("realloc event buf err\n");
            result = kNoMemory;
        }
        if (result < 0) {
            freeSearchHandle(handle);
            message("err\n");
            return result;
        }
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
    if (handle < 0 || handle >= kSearchHandles)
        return kBadHandle;
    if (slot < 0 || slot >= 2 * registry().maxRecChannels || slot >= kChannelSlots)
        return kBadSlot;
    if (out == nullptr)
        return kBadParam;
    SearchHandle& h = searchHandles()[handle];
    if (h.kind == SearchKind::Free)
        return kHandleNotInUse;
    SlotList& list = h.slots[slot];
    out->list = list.events.empty() ? nullptr : list.events.data();
    out->count = static_cast<int>(list.events.size());
    return 0;
}

}  // namespace kvhdd
