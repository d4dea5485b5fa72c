#include "IndexAreaWriter.h"

namespace storebench {
namespace {

std::vector<rfs::index_file_info> fileTable(const StoreLayout& layout, int partition) {
    std::vector<rfs::index_file_info> table;
    table.reserve(layout.filesPerPartition);
    for (uint32_t i = 0; i < layout.filesPerPartition; ++i)
        table.push_back(freeFileRecord(i));
    for (const PlannedFile& f : layout.files)
        if (f.partition == partition)
            table[f.index] = f.record;
    return table;
}

}  // namespace

void writeIndexAreas(const ImageFile& image, const StoreLayout& layout) {
    const rfs::disk_param_t& param = layout.param;
    image.write(rfs::kDiskParamOffset, param);
    for (int p = 0; p < kPartitions; ++p) {
        const std::vector<rfs::index_file_info> table = fileTable(layout, p);
        for (int copy = 0; copy < rfs::kIndexCopies; ++copy) {
            const uint64_t area = rfs::indexCopyOffset(param, p, copy);
            image.write(area, layout.partitions[p]);
            image.write(area + param.file_table_offset, table);
            for (const PlannedFile& f : layout.files)
                if (f.partition == p)
                    image.write(area + rfs::eventBlockOffset(param.event_table_offset, f.index, kEventsPerFile),
                                f.events);
        }
    }
}

}  // namespace storebench
