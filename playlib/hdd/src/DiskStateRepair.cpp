#include "DiskStateRepair.h"

#include "DiskParamIo.h"
#include "IndexAccess.h"
#include "MessageLine.h"
#include "rfs/IndexRecords.h"

namespace kvrfs {

void repairDiskState(int diskId, AccessMode mode, const std::string& path, rfs::disk_param_t& param) {
    message("disk:%d state bad ,now repair!!!!\n", diskId);
    param.disk_state = 0;
    writeDiskParamBack(mode, path, param);

    for (int p = 0; p < param.part_count; ++p) {
        const IndexLocation where{mode, path, param, p};
        const auto copies = rfs::chooseIndexCopies(param.index_valid[p]);
        if (!copies) {
            message("invalid index file flag!\n");
            message("can't find valid index!\n");
            continue;
        }
        const OpenedIndexCopy primary = openIndexCopy(mode, path, param, p, copies->primary, OpenFor::Read);
        rfs::part_info_t info;
        if (!primary.file.isOpen() ||
            primary.file.readAt(&info, primary.areaOffset, sizeof info) != static_cast<int64_t>(sizeof info)) {
            message("partition state bad state = %d\n", 2);
            continue;
        }
        if (info.magic != rfs::kPartMagic)
            message("part info magic %#x err\n", info.magic);
        if (info.state == 2) {
            info.state = 0;
            if (!writePrimaryIndex(where, 0, &info, sizeof info))
                message("partition state bad state = %d\n", 2);
        }
    }
}

}  // namespace kvrfs
