// The hard-disk reader: 26 disks, 112-byte file records, 32-byte key-frame entries with virtual key
// frames, a label area, and a disk state that attach repairs.
#include <cstring>

#include "DiskStateRepair.h"
#include "LabelArea.h"
#include "LabelHeadScan.h"
#include "LabelSearch.h"
#include "ReaderProfile.h"

namespace kvrfs {
namespace {

rfs::iframe_info_t decodeEntry(const unsigned char* raw) {
    rfs::iframe_info_t entry;
    std::memcpy(&entry, raw, sizeof entry);
    return entry;
}

bool acceptsAnyStore(const rfs::disk_param_t&) {
    return true;
}

bool prepareHardDisk(int diskId, AccessMode mode, const std::string& path, rfs::disk_param_t& param,
                     rfs::label_head_t& labelHead) {
    if (param.disk_state > 2)
        repairDiskState(diskId, mode, path, param);
    if (!hasLabelArea(mode, param))
        return true;
    const auto head = scanLabelHead(mode, path, param);
    if (head)
        labelHead = *head;
    return head.has_value();
}

// find_mode does not choose disks here: every search visits both classes.
unsigned bothPasses(uint8_t) {
    return 3;
}

}  // namespace

const ReaderProfile& readerProfile() {
    static const ReaderProfile profile{
        .directoryOnly = false,
        .maxDisks = 26,
        .groupsPerPass = 26,
        .refusesUnknownGroup = false,
        .versionLo = rfs::kVersionLo,
        .fileRecordSize = sizeof(rfs::index_file_info),
        .keyFrameEntrySize = sizeof(rfs::iframe_info_t),
        .keyFrameWindowEntries = 512,
        .eventsCarryThumbnails = false,
        .diskRecordFailure = "malloc disk_info_t_hdd failed\n",
        .messageStream = MessageStream::StandardError,
        .decodeKeyFrameEntry = decodeEntry,
        .acceptsStore = acceptsAnyStore,
        .prepareDisk = prepareHardDisk,
        .labelMonthSearch = runLabelMonthSearch,
        .searchPasses = bothPasses,
    };
    return profile;
}

}  // namespace kvrfs
