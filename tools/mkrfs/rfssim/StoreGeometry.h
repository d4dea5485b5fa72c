// Where everything of a store lies: the parameter block, and the sizes every data file shares.
#pragma once

#include <cstdint>
#include <vector>

#include "rfs/DiskParam.h"
#include "rfssim/Scenario.h"

namespace rfssim {

constexpr uint64_t kMiB = 1024 * 1024;
constexpr uint32_t kFileTableOffset = 4096;
constexpr uint64_t kLabelOffset = 1 * kMiB;
constexpr uint64_t kFirstRawPartition = 4 * kMiB;
constexpr uint64_t kDirectoryIndexStart = 4096;  // the index area's place inside each index file
constexpr uint32_t kSwitchCount = 1;
// The file-system byte a store gets unless the scenario names one: "PRIVATE" on a hard disk, vfat on
// an SD card.
constexpr uint8_t kDiskFsType = 3;
constexpr uint8_t kSdFsType = 0;

constexpr uint64_t alignUp(uint64_t value, uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// The limits one data file is written within.
struct DataFileLayout {
    uint32_t size = 0;           // bytes of the file
    uint32_t mediaStart = 0;     // first frame record
    uint32_t eventsPerFile = 0;  // event slots in the file's event block
    StoreKind kind = StoreKind::HardDisk;
};

DataFileLayout dataFileLayout(uint32_t dataFileSize, StoreKind kind);

struct StoreGeometry {
    rfs::disk_param_t param{};  // complete, check sum included
    DataFileLayout dataFile;
    std::vector<uint32_t> filesPerPartition;
    uint64_t storeBytes = 0;  // size of the image, or of all files of a directory store
};

// The scenario must have passed validateScenario.
StoreGeometry computeGeometry(const Scenario& scenario);

}  // namespace rfssim
