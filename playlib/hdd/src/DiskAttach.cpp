#include "DiskAttach.h"

#include <new>

#include "DiskParamIo.h"
#include "DiskRegistry.h"
#include "LabelArea.h"
#include "LabelHeadScan.h"
#include "MessageLine.h"
#include "PartitionLoader.h"
#include "ReadHandles.h"
#include "SearchHandles.h"

namespace kvhdd {
namespace {

constexpr int32_t kFailed = -1;
constexpr int32_t kDiskIdTooLarge = -10;
constexpr int32_t kNoMemory = -12;

// A disk marked bad is made usable again: its state and its bad partitions are reset on the medium.
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

}  // namespace

int32_t initReader(int maxRecChannels, int moareaNums) {
    DiskRegistry& reg = registry();
    if (maxRecChannels < 1 || maxRecChannels > 128) {
        message("invalid rec channel! init rfs failed!, max_rec_chn:%d\n", maxRecChannels);
        return kFailed;
    }
    reg.maxRecChannels = maxRecChannels;
    message("rfs max rec channel is %d\n", maxRecChannels);
    if (moareaNums < 1) {
        message("invalid moarea nums! init rfs failed!\n");
        return kFailed;
    }
    freeAllSearchHandles();
    freeAllReadHandles();
    return 0;
}

int32_t setAccessModeByte(int mode) {
    registry().modeByte = static_cast<uint8_t>(mode);
    return registry().modeByte;
}

int32_t attachDisk(int diskId, const char* path, int diskType, int group) {
    DiskRegistry& reg = registry();
    const int groupOffset = diskType == 1 ? kRedundantGroupOffset : 0;
    if (static_cast<unsigned>(diskId) >= kMaxDisks) {
        message("hdd num > max hdd num, id:%d, max_id:%d\n", diskId, kMaxDisks);
        return kDiskIdTooLarge;
    }
    if (path == nullptr)
        return kFailed;
    const std::string storePath = path;
    const AccessMode mode = reg.mode();

    auto param = readDiskParam(mode, storePath);
    if (!param || !validateDiskParam(*param)) {
        message("ret = %d\n", kFailed);
        return kFailed;
    }
    if (param->disk_state > 2)
        repairDiskState(diskId, mode, storePath, *param);

    rfs::label_head_t labelHead{};
    if (hasLabelArea(mode, *param)) {
        const auto head = scanLabelHead(mode, storePath, *param);
        if (!head) {
            message("ret = %d\n", kFailed);
            return kFailed;
        }
        labelHead = *head;
    }

    auto record = std::unique_ptr<DiskRecord>(new (std::nothrow) DiskRecord);
    if (!record) {
        message("malloc disk_info_t_hdd failed\n");
        return kNoMemory;
    }
    DiskRecord& disk = *record;
    reg.disks[diskId] = std::move(record);
    if (param->dataFileSize == 0x40000000)
        reg.maxEventBlock = 0x6000;

    uint32_t freeFiles = 0;
    for (int p = 0; p < param->part_count; ++p) {
        const int result = loadPartition(IndexLocation{mode, storePath, *param, p}, disk.part[p]);
        // A partition whose repair failed is still read as far as the repair got.
        reg.maxFileNr = std::max<uint32_t>(reg.maxFileNr, disk.part[p].file_nr);
        if (result == 0) {
            message("add disk repair record:%s part:%d sucess!\n", storePath.c_str(), p);
        } else {
            message("add disk repair record:%s part:%d failed! ret=%d\n", storePath.c_str(), p, result);
        }
        freeFiles += disk.part[p].free_nr;
    }
    message("disk%d free size=%uMB\n", diskId, freeFiles * 256);

    disk.disk_id = diskId;
    disk.param = *param;
    disk.path = storePath;
    disk.label_head = labelHead;
    reg.maxSwitch = std::max({reg.maxSwitch, param->switch_a, param->switch_b});
    message("add disk max switch is %u\n", reg.maxSwitch);
    disk.type = diskType;
    disk.group = static_cast<unsigned>(group) > 25 ? -1 : group + groupOffset;
    return 0;
}

int32_t removeDisk(int diskId) {
    DiskRegistry& reg = registry();
    if (static_cast<unsigned>(diskId) >= kMaxDisks) {
        message("disk %d out of range\n", diskId);
        return kFailed;
    }
    if (!reg.disks[diskId]) {
        message("disk %d not added\n", diskId);
        return 0;
    }
    message("disk group  not added, diskid = %d, gfd = %d\n", diskId, reg.disks[diskId]->group);
    reg.disks[diskId].reset();
    // A disk attached later under this id is another medium: no read handle may keep this one's files.
    for (ReadHandle& handle : readHandles()) {
        if (handle.haveRecordId && static_cast<int>(handle.recordId >> 24) == diskId) {
            handle.dataFile = StoreFile{};
            handle.haveRecordId = false;
        }
    }
    return 0;
}

}  // namespace kvhdd
