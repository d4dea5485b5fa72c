#include "PictureMonthSearch.h"

#include <algorithm>

#include "MonthPartitions.h"
#include "PictureDays.h"
#include "SearchDiagnostics.h"
#include "SearchRequest.h"
#include "SearchResults.h"

namespace kvrfs {
namespace {

constexpr int kMaskedChannels = 64;

// Channels 0..31 are bits of the first mask, 32..63 of the second.
bool holdsRequestedChannel(const rfs::index_file_info& file, const SearchRequest& request) {
    for (int c = 0; c < kMaskedChannels; ++c)
        if (request.channelSelected(c) && (file.chn_mask[c / 32] >> (c % 32) & 1) != 0)
            return true;
    return false;
}

bool coversMonth(const rfs::index_file_info& file, uint32_t month) {
    return file.magic == rfs::kFileMagic && (file.state == rfs::FileInUse || file.state == rfs::FileRepaired) &&
           file.type == rfs::PictureFile && file.start_time <= file.end_time &&
           rfs::monthOf(file.start_time) <= month && month <= rfs::monthOf(file.end_time);
}

}  // namespace

int32_t runPictureMonthSearch(const rfs_find_param_t& param, uint32_t days[31]) {
    std::fill(days, days + 31, 0u);
    const SearchRequest request(param);
    const uint32_t month = rfs::monthOf(request.from());
    dumpSearchParameters(param);
    dumpDiskSummary();

    return visitMonthFileTables(month, StoredKind::Pictures, [&](const DiskRecord& disk, int p, const auto& files) {
        const uint64_t fileSize = rfs::normalisedDataFileSize(disk.param.dataFileSize);
        const rfs::part_info_t& part = disk.part[p];
        // Days before the partition's first picture are ignored, but only in that picture's month.
        const int firstDay = rfs::monthOf(part.pic_start) == month ? rfs::unpackTime(part.pic_start).day - 1 : 0;
        auto markDay = [&](const rfs::pic_day_t& day) {
            if (day.year == month >> 4 && day.month == (month & 0xf) && day.day >= firstDay && day.day <= 30)
                days[day.day] = 1;
        };
        for (uint32_t m = 0; m < files.size(); ++m) {
            if (!coversMonth(files[m], month) || !holdsRequestedChannel(files[m], request))
                continue;
            const PictureFile file{disk.path, m, openDataFileOf(disk, p, m), fileSize};
            if (readPictureDays(file, month, markDay) == PictureDaysResult::ShortRead)
                return kIndexShortRead;
        }
        return 0;
    });
}

}  // namespace kvrfs
