#include "MonthSearch.h"

#include <algorithm>

#include "MonthPartitions.h"
#include "SearchDiagnostics.h"
#include "SearchRequest.h"

namespace kvrfs {
namespace {

void addDayMasks(const rfs::index_file_info& file, uint32_t recordTypes, uint32_t days[31]) {
    for (int t = 0; t < 16; ++t) {
        if ((recordTypes >> t & 1) == 0)
            continue;
        for (int d = 0; d < 31; ++d)
            if (file.day_bits[t] >> d & 1)
                days[d] |= 1u << t;
    }
}

}  // namespace

int32_t runMonthSearch(const rfs_find_param_t& param, uint32_t days[31]) {
    std::fill(days, days + 31, 0u);
    const SearchRequest request(param);
    const uint32_t month = rfs::monthOf(request.from());
    dumpSearchParameters(param);
    dumpDiskSummary();

    return visitMonthFileTables(month, StoredKind::Recordings, [&](const DiskRecord&, int, const auto& files) {
        for (const rfs::index_file_info& file : files) {
            // Files in state 2 hold events that the month view leaves out.
            if (file.magic == rfs::kFileMagic && (file.state == rfs::FileInUse || file.state == rfs::FileRepaired) &&
                file.type == param.data_type && request.channelSelected(file.chn) &&
                file.start_time <= file.end_time && rfs::monthOf(file.start_time) <= month &&
                month <= rfs::monthOf(file.end_time))
                addDayMasks(file, static_cast<uint32_t>(param.record_type), days);
        }
        return 0;
    });
}

}  // namespace kvrfs
