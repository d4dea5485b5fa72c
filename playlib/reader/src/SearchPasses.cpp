#include "SearchPasses.h"

#include "MessageLine.h"
#include "ReaderProfile.h"

namespace kvrfs {

int32_t visitPassPartitions(int pass, const SearchRequest& request, StoredKind kind, const PartitionVisitor& visit) {
    const DiskRegistry& reg = registry();
    const int groupsPerPass = readerProfile().groupsPerPass;
    for (const auto& disk : reg.disks) {
        if (!disk)
            continue;
        if (disk->group < 0 || disk->group >= 2 * groupsPerPass) {
            if (pass == 0)
                message("disk[%d] is in valid disk group[%d]\n", disk->disk_id, disk->group);
            continue;
        }
        if ((disk->group >= groupsPerPass) != (pass == 1))
            continue;
        if (disk->param.disk_state > 2) {
            message("disk%d is err\n", disk->disk_id);
            continue;
        }
        for (int p = 0; p < disk->param.part_count; ++p) {
            const rfs::part_info_t& part = disk->part[p];
            if (part.state > 1) {
                message("disk%d part%d is err\n", disk->disk_id, p);
                continue;
            }
            if (reg.maxFileNr == 0)
                return 0;
            const rfs::PackedTime start = kind == StoredKind::Recordings ? part.rec_start : part.pic_start;
            const rfs::PackedTime end = kind == StoredKind::Recordings ? part.rec_end : part.pic_end;
            if (start > end || !request.overlaps(start, end))
                continue;
            if (const int32_t result = visit(*disk, p); result != 0)
                return result;
        }
    }
    return 0;
}

}  // namespace kvrfs
