#include "PartitionEvents.h"

#include <algorithm>
#include <vector>

#include "MessageLine.h"
#include "PartitionIndex.h"

namespace kvrfs {
namespace {

constexpr uint32_t kWindowFiles = 40;

// State 4 is a file the repair closed: it holds the last recording before power was lost.
bool acceptsFile(const SearchRequest& request, const rfs::index_file_info& file) {
    return file.magic == rfs::kFileMagic &&
           (file.state == rfs::FileInUse || file.state == rfs::FileEventsOnly || file.state == rfs::FileRepaired) &&
           request.channelSelected(file.chn) && file.type == request.param().data_type &&
           file.start_time <= file.end_time && request.overlaps(file.start_time, file.end_time);
}

bool acceptsEvent(const SearchRequest& request, const rfs::index_event_info& event) {
    return event.magic == rfs::kEventMagic && event.flag != 1 && request.recordTypeMatches(event.rec_type) &&
           event.end_time >= event.start_time && request.overlaps(event.start_time, event.end_time) &&
           !(request.param().skip_empty != 0 && event.start_time == event.end_time);
}

}  // namespace

int32_t visitPartitionEvents(const DiskRecord& disk, int partition, const SearchRequest& request,
                             const PartitionEventVisitor& visit) {
    PartitionIndex index(disk, partition);
    std::vector<rfs::index_file_info> files;
    // A partition without a valid copy is skipped; the others are still searched.
    if (!index.open() || !index.readFileTable(files))
        return index.error();

    const uint32_t perFile = index.eventsPerFile();
    std::vector<rfs::index_event_info> window;
    uint32_t windowFirst = 0;
    uint32_t windowCount = 0;
    for (uint32_t m = 0; m < files.size(); ++m) {
        const rfs::index_file_info& file = files[m];
        if (!acceptsFile(request, file))
            continue;
        if (m < windowFirst || m >= windowFirst + windowCount) {
            const uint32_t count = std::min<uint32_t>(kWindowFiles, static_cast<uint32_t>(files.size()) - m);
            message("read_event:buf:%u-%u,now:%u\n", m, m + count, m);
            if (!index.readEventBlocks(m, count, window, windowCount))
                return index.error();
            windowFirst = m;
        }
        const rfs::index_event_info* block = &window[static_cast<std::size_t>(m - windowFirst) * perFile];
        const uint32_t events = std::min<uint32_t>(file.event_nr, perFile);
        for (uint32_t k = 0; k < events; ++k) {
            const rfs::index_event_info& event = block[k];
            // The block ends at the first empty record or at the event still being written.
            if (event.magic == 0 || event.magic == rfs::kEventWritingMagic)
                break;
            if (!acceptsEvent(request, event))
                continue;
            if (const int32_t result = visit(m, file, event, k); result != 0)
                return result;
        }
    }
    return 0;
}

}  // namespace kvrfs
