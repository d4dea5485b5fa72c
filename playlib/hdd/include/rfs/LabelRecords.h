// The label area: a head followed by up to 32768 label entries.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rfs/PackedTime.h"

namespace rfs {

constexpr uint32_t kLabelHeadMagic = 0x4862614c;  // "LabH"
constexpr uint32_t kLabelMagic = 0x4962614c;      // "LabI"
constexpr uint32_t kLabelEndMagic = 0x646e654c;   // "Lend"
constexpr uint32_t kLabelEntriesOffset = 1024;
constexpr uint32_t kMaxLabels = 32768;

#pragma pack(push, 1)
struct label_head_t {
    uint32_t write_flag;  // non-zero: a change was interrupted, the area needs a rescan
    uint32_t magic;
    uint32_t next_label;
    uint32_t label_count;
    PackedTime earliest[2];
    PackedTime latest[2];
};

struct label_info_t {
    uint32_t magic;
    uint32_t number;
    uint32_t disk_id;  // disk id << 24
    PackedTime time;
    uint16_t value;
    uint8_t channel;
    uint8_t state;  // 1 valid, 2 deleted
    char name[44];
};
#pragma pack(pop)

static_assert(sizeof(label_head_t) == 32);
static_assert(sizeof(label_info_t) == 64);
static_assert(offsetof(label_info_t, name) == 20);

constexpr uint64_t kLabelAreaSize = kLabelEntriesOffset + static_cast<uint64_t>(kMaxLabels) * sizeof(label_info_t);

}  // namespace rfs
