// What sets one store reader apart from the other: record sizes, limits, accepted versions and the
// steps only one kind of medium has. The shared reader code asks readerProfile(); each library
// defines it once.
#pragma once

#include <cstdint>
#include <string>

#include "StoreFile.h"
#include "rfs/DiskParam.h"
#include "rfs/IndexRecords.h"
#include "rfs/LabelRecords.h"
#include "rfs/rfs_types.h"

namespace kvrfs {

enum class MessageStream { StandardError, StandardOutput };

struct ReaderProfile {
    bool directoryOnly;  // every store path names a folder, whatever the mode byte says
    int maxDisks;
    int groupsPerPass;         // normal groups 0..n-1, redundant ones n..2n-1
    bool refusesUnknownGroup;  // false: a disk in an unknown group is attached but never searched
    uint16_t versionLo;
    uint32_t fileRecordSize;
    uint32_t keyFrameEntrySize;
    uint32_t keyFrameWindowEntries;
    bool eventsCarryThumbnails;  // the motion-bit fields of event records hold a thumbnail instead
    const char* diskRecordFailure;
    MessageStream messageStream;

    // The entry at `raw` as the reader uses it; an entry without a stored length gets length 0.
    rfs::iframe_info_t (*decodeKeyFrameEntry)(const unsigned char* raw);
    // Checks of the parameter block beyond the common ones; false refuses the store.
    bool (*acceptsStore)(const rfs::disk_param_t& param);
    // Attach steps before the partitions are read; false refuses the store.
    bool (*prepareDisk)(int diskId, AccessMode mode, const std::string& path, rfs::disk_param_t& param,
                        rfs::label_head_t& labelHead);
    // The month search of labels; null where the medium has none.
    int32_t (*labelMonthSearch)(const rfs_find_param_t& param, uint32_t days[31]);
    // Bit 0: the search visits normal disks, bit 1: redundant ones.
    unsigned (*searchPasses)(uint8_t findMode);
};

const ReaderProfile& readerProfile();

}  // namespace kvrfs
