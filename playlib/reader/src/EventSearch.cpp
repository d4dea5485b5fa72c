#include "EventSearch.h"

#include <algorithm>

#include "DiskRegistry.h"
#include "EventRecord.h"
#include "MessageLine.h"
#include "PartitionEvents.h"
#include "ReaderProfile.h"
#include "SearchDiagnostics.h"
#include "SearchHandles.h"
#include "SearchPasses.h"
#include "SearchRequest.h"

namespace kvrfs {
namespace {

constexpr uint32_t kGrowthStep = 300;

class EventCollector {
public:
    EventCollector(int handleNumber, const SearchRequest& request)
        : handleNumber_(handleNumber),
          handle_(searchHandles()[handleNumber]),
          request_(request),
          initialCapacity_(initialCapacity(request.param())) {}

    int32_t run() {
        dumpDiskSummary();
        const unsigned passes = readerProfile().searchPasses(request_.param().find_mode);
        for (int pass = 0; pass < 2; ++pass) {
            if ((passes >> pass & 1) == 0)
                continue;
            const int32_t result = visitPassPartitions(
                pass, request_, StoredKind::Recordings,
                [&](const DiskRecord& disk, int partition) { return searchPartition(disk, partition, pass); });
            sortLists(pass);
            if (result != 0)
                return result;
        }
        return 0;
    }

private:
    static uint32_t initialCapacity(const rfs_find_param_t& param) {
        if (param.search_type != 2)
            return 200;
        const SearchRequest request(param);
        uint32_t channels = 0;
        for (int c = 0; c < kChannelSlots; ++c)
            channels += request.channelSelected(c) ? 1 : 0;
        return std::max<uint32_t>(84 * channels, 200);
    }

    int32_t searchPartition(const DiskRecord& disk, int partition, int pass) {
        return visitPartitionEvents(
            disk, partition, request_,
            [&](uint32_t fileIndex, const rfs::index_file_info& file, const rfs::index_event_info& event, uint32_t k) {
                listEvent(disk, partition, fileIndex, file, event, k, pass);
                return 0;
            });
    }

    void listEvent(const DiskRecord& disk, int partition, uint32_t fileIndex, const rfs::index_file_info& file,
                   const rfs::index_event_info& event, uint32_t k, int pass) {
        // Channels above the slot table have no list to go to.
        const int slotNumber = request_.param().search_type == 3 ? file.chn : 0;
        if (slotNumber >= kChannelSlots || listed_ >= kMaxListedEvents)
            return;
        SlotList& slot = handle_.slots[slotNumber];
        if (pass == 1 && coveredByPass0(slot, file.chn, event.start_time, event.end_time))
            return;
        growIfFull(slot);
        slot.events.push_back(outputRecord(disk, partition, fileIndex, file, event, k, slotNumber, pass));
        handle_.earliestStart =
            handle_.earliestStart == 0 ? event.start_time : std::min(handle_.earliestStart, event.start_time);
        handle_.latestEnd = std::max(handle_.latestEnd, event.end_time);
        handle_.contributed[disk.disk_id][partition] = true;
        ++listed_;
    }

    void growIfFull(SlotList& slot) {
        if (slot.events.size() < slot.capacityStep)
            return;
        slot.capacityStep = slot.capacityStep == 0 ? initialCapacity_ : slot.capacityStep + kGrowthStep;
        slot.events.reserve(slot.capacityStep);
    }

    // A redundant disk's event adds nothing when the normal disks' events of its channel cover it.
    static bool coveredByPass0(const SlotList& slot, uint8_t chn, rfs::PackedTime start, rfs::PackedTime end) {
        bool haveSpan = false;
        rfs::PackedTime lo = 0;
        rfs::PackedTime hi = 0;
        for (int i = 0; i < slot.pass0Count; ++i) {
            const rfs_event_t& listed = slot.events[i];
            if (listed.chn != chn)
                continue;
            const rfs::PackedTime s = rfs::packTime(listed.start);
            rfs::PackedTime e = rfs::packTime(listed.end);
            if (!haveSpan || s < lo || s > hi) {
                if (start < s && hi < end)
                    return false;
                lo = s;
                haveSpan = true;
            } else if (hi > e) {
                e = hi;
            }
            if (e >= end)
                return true;
            hi = e;
        }
        return false;
    }

    rfs_event_t outputRecord(const DiskRecord& disk, int partition, uint32_t fileIndex,
                             const rfs::index_file_info& file, const rfs::index_event_info& event, uint32_t k, int slot,
                             int pass) const {
        rfs_event_t out = eventRecord(recordIdOf(disk.disk_id, partition, fileIndex), file, event, k);
        out.handle = static_cast<uint8_t>(handleNumber_);
        out.slot = static_cast<uint8_t>(slot);
        out.pass = static_cast<uint8_t>(pass);
        return out;
    }

    // Every slot is sorted: the second stream of a store's channels may lie above the channel limit.
    void sortLists(int pass) {
        for (SlotList& slot : handle_.slots) {
            if (pass == 0)
                slot.pass0Count = static_cast<int>(slot.events.size());
            slot.cursor = -1;
            std::stable_sort(slot.events.begin(), slot.events.end(), [](const rfs_event_t& a, const rfs_event_t& b) {
                const rfs::PackedTime sa = rfs::packTime(a.start);
                const rfs::PackedTime sb = rfs::packTime(b.start);
                return sa != sb ? sa < sb : a.chn < b.chn;
            });
            for (std::size_t i = 0; i < slot.events.size(); ++i)
                slot.events[i].index = static_cast<int32_t>(i);
        }
    }

    int handleNumber_;
    SearchHandle& handle_;
    const SearchRequest& request_;
    uint32_t initialCapacity_;
    int listed_ = 0;
};

}  // namespace

int32_t runEventSearch(int handle, const rfs_find_param_t& param) {
    const SearchRequest request(param);
    return EventCollector(handle, request).run();
}

}  // namespace kvrfs
