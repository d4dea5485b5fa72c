#include "EventRecord.h"

#include "ReaderProfile.h"

namespace kvrfs {

rfs_event_t eventRecord(uint32_t recordId, const rfs::index_file_info& file, const rfs::index_event_info& event,
                        uint32_t k) {
    rfs_event_t out{};
    out.record_id = recordId;
    out.rec_type = event.rec_type;
    out.chn = file.chn;
    out.norm = event.norm;
    out.res = event.res;
    out.marked = event.flag == 2 ? 1 : 0;
    out.start = rfs::toRfsTime(event.start_time);
    out.end = rfs::toRfsTime(event.end_time);
    out.data_start = event.data_start;
    out.data_len = event.data_len;
    out.kf_top = event.kf_top;
    out.kf_low = event.kf_low;
    out.event_idx = static_cast<int32_t>(k);
    if (readerProfile().eventsCarryThumbnails)
        out.thumbnail_offset = event.mobit_start;
    return out;
}

}  // namespace kvrfs
