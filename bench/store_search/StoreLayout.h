// The whole benchmark store as records: the parameter block, each partition's record and every data
// file the tracks filled, placed in the order the recorder opened them. Computed on every run, so the
// searches can be checked against it whether or not the image had to be built.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "StoreShape.h"
#include "rfs/DiskParam.h"
#include "rfs/IndexRecords.h"

namespace storebench {

struct PlannedFile {
    int partition = 0;
    uint32_t index = 0;
    int track = 0;
    rfs::index_file_info record{};
    std::vector<rfs::index_event_info> events;
    bool holdsBytes = false;  // written for real; every other data file stays a hole
};

struct StoreLayout {
    rfs::disk_param_t param{};  // complete, check sum included
    uint32_t filesPerPartition = 0;
    std::array<rfs::part_info_t, kPartitions> partitions{};
    std::vector<PlannedFile> files;
};

StoreLayout planStore();

// Changes whenever anything written to the image would change.
uint64_t fingerprint(const StoreLayout& layout);

// The record of a data file the recorder has not used yet.
rfs::index_file_info freeFileRecord(uint32_t index);

// disk << 24 | partition << 16 | file index, as listed events name their data file.
constexpr uint32_t recordId(const PlannedFile& file) {
    return static_cast<uint32_t>(kDiskId) << 24 | static_cast<uint32_t>(file.partition) << 16 | file.index;
}

// Epoch seconds of an event's start and its length in seconds (one key frame a second).
int64_t eventStartSecond(const rfs::index_event_info& event);
uint32_t eventSeconds(const rfs::index_event_info& event);

}  // namespace storebench
