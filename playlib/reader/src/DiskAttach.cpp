#include "DiskAttach.h"

#include <new>

#include "DiskParamIo.h"
#include "DiskRegistry.h"
#include "MessageLine.h"
#include "PartitionLoader.h"
#include "ReadHandles.h"
#include "ReaderProfile.h"
#include "SearchHandles.h"

namespace kvrfs {
namespace {

constexpr int32_t kFailed = -1;
constexpr int32_t kDiskIdTooLarge = -10;
constexpr int32_t kNoMemory = -12;

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
    const ReaderProfile& profile = readerProfile();
    const int groupOffset = diskType == 1 ? profile.groupsPerPass : 0;
    if (static_cast<unsigned>(diskId) >= static_cast<unsigned>(profile.maxDisks)) {
        message("hdd num > max hdd num, id:%d, max_id:%d\n", diskId, profile.maxDisks);
        return kDiskIdTooLarge;
    }
    const bool knownGroup = static_cast<unsigned>(group) < static_cast<unsigned>(profile.groupsPerPass);
    if (path == nullptr || (!knownGroup && profile.refusesUnknownGroup))
        return kFailed;
    const std::string storePath = path;
    const AccessMode mode = reg.mode();

    auto param = readDiskParam(mode, storePath);
    if (!param || !validateDiskParam(*param) || !profile.acceptsStore(*param)) {
        message("ret = %d\n", kFailed);
        return kFailed;
    }
    rfs::label_head_t labelHead{};
    if (!profile.prepareDisk(diskId, mode, storePath, *param, labelHead)) {
        message("ret = %d\n", kFailed);
        return kFailed;
    }

    auto record = std::unique_ptr<DiskRecord>(new (std::nothrow) DiskRecord);
    if (!record) {
        message("%s", profile.diskRecordFailure);
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
    disk.group = knownGroup ? group + groupOffset : -1;
    return 0;
}

int32_t removeDisk(int diskId) {
    DiskRegistry& reg = registry();
    if (static_cast<unsigned>(diskId) >= static_cast<unsigned>(readerProfile().maxDisks)) {
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

}  // namespace kvrfs
