#include "MonthPartitions.h"

#include "PartitionIndex.h"

namespace kvrfs {

int32_t visitMonthFileTables(uint32_t month, StoredKind kind, const MonthFileTableVisitor& visit) {
    for (const auto& disk : registry().disks) {
        if (!disk || disk->group < 0 || disk->group > 51 || disk->param.disk_state >= 3)
            continue;
        for (int p = 0; p < disk->param.part_count; ++p) {
            const rfs::part_info_t& part = disk->part[p];
            const rfs::PackedTime start = kind == StoredKind::Recordings ? part.rec_start : part.pic_start;
            const rfs::PackedTime end = kind == StoredKind::Recordings ? part.rec_end : part.pic_end;
            if (part.state >= 2 || start > end || rfs::monthOf(start) > month || month > rfs::monthOf(end))
                continue;
            PartitionIndex index(*disk, p);
            std::vector<rfs::index_file_info> files;
            if (!index.open() || !index.readFileTable(files)) {
                if (index.error() != 0)
                    return index.error();
                continue;
            }
            if (const int32_t result = visit(*disk, p, files); result != 0)
                return result;
        }
    }
    return 0;
}

}  // namespace kvrfs
