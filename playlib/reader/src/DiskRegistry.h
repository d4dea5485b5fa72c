// The reader's process-wide state: the access mode, the channel limit, the attached disks and the
// sizes that grow with every attach. Callers serialise access (the reader has no locks).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "ReaderProfile.h"
#include "StoreFile.h"
#include "rfs/DiskParam.h"
#include "rfs/IndexRecords.h"
#include "rfs/LabelRecords.h"

namespace kvrfs {

constexpr int kMaxDisks = 26;
constexpr int kRedundantGroupOffset = 26;

struct DiskRecord {
    int32_t group = 0;  // -1: a group the searches never visit
    int32_t type = 0;   // 1: redundant disk
    int32_t disk_id = 0;
    rfs::disk_param_t param{};
    std::string path;  // the whole store path: file names are built from it
    std::array<rfs::part_info_t, rfs::kMaxPartitions> part{};
    rfs::label_head_t label_head{};
};

struct DiskRegistry {
    uint8_t modeByte = 0;
    int maxRecChannels = 0;
    std::array<std::unique_ptr<DiskRecord>, kMaxDisks> disks;
    uint32_t maxEventBlock = 0x3000;
    uint32_t maxFileNr = 0;
    uint32_t maxSwitch = 0;

    AccessMode mode() const {
        return modeByte == 0 && !readerProfile().directoryOnly ? AccessMode::Raw : AccessMode::Directory;
    }
};

DiskRegistry& registry();

}  // namespace kvrfs
