// The disk parameter block and the rules that locate every object of a store from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

namespace rfs {

constexpr uint32_t kDiskMagic = 0x7366764b;      // "Kvfs"
constexpr uint64_t kDiskParamOffset = 256;        // byte offset of the block on the drive and in index files
constexpr uint16_t kVersionLo = 3;
constexpr uint16_t kVersionHi = 2;
constexpr int kMaxPartitions = 4;
constexpr int kIndexCopies = 4;
constexpr uint32_t kSectorSize = 512;

#pragma pack(push, 1)
struct disk_param_t {
    uint32_t magic;
    uint32_t total_size;  // MB
    uint32_t free_files;  // filled in memory only
    uint8_t part_count;
    uint8_t active_part;
    uint8_t disk_state;
    uint8_t fs_type;
    uint16_t version_lo;
    uint16_t version_hi;
    uint32_t file_table_offset;
    uint32_t event_table_offset;
    uint32_t reserved28;
    uint32_t label_offset;
    uint8_t reserved36[20];
    uint32_t switch_a;
    uint32_t switch_b;
    uint32_t dataFileSize;
    uint32_t data_offset;
    uint64_t part_start[kMaxPartitions];
    uint32_t index_size;
    uint8_t reserved108[8];
    uint8_t index_valid[kMaxPartitions];
    uint32_t reserved120;
    uint32_t check_sum;
};
#pragma pack(pop)

static_assert(sizeof(disk_param_t) == 128);
static_assert(offsetof(disk_param_t, part_count) == 12);
static_assert(offsetof(disk_param_t, version_lo) == 16);
static_assert(offsetof(disk_param_t, file_table_offset) == 20);
static_assert(offsetof(disk_param_t, label_offset) == 32);
static_assert(offsetof(disk_param_t, switch_a) == 56);
static_assert(offsetof(disk_param_t, dataFileSize) == 64);
static_assert(offsetof(disk_param_t, part_start) == 72);
static_assert(offsetof(disk_param_t, index_size) == 104);
static_assert(offsetof(disk_param_t, index_valid) == 116);
static_assert(offsetof(disk_param_t, check_sum) == 124);

// XOR of the 31 dwords before the check sum.
inline uint32_t diskParamCheckSum(const disk_param_t& p) {
    uint32_t words[32];
    std::memcpy(words, &p, sizeof words);
    uint32_t sum = 0;
    for (int i = 0; i < 31; ++i)
        sum ^= words[i];
    return sum;
}

// The recorder's own acceptance test: magic, version (3/2 on a hard disk, 4/2 on an SD card) and check sum.
inline bool isValidDiskParam(const disk_param_t& p, uint16_t versionLo = kVersionLo) {
    return p.magic == kDiskMagic && p.version_lo == versionLo && p.version_hi == kVersionHi &&
           diskParamCheckSum(p) == p.check_sum;
}

constexpr const char* fileSystemName(uint8_t fsType) {
    constexpr const char* names[] = {"FAT", "EXT4", "XFS", "PRIVATE", "EXT2", "EXT3", "NTFS", "NAS"};
    return fsType < 8 ? names[fsType] : "UNKNOWN";
}

// Sizes other than the three a recorder writes are read as 256 MiB files.
constexpr uint32_t normalisedDataFileSize(uint32_t dataFileSize) {
    return dataFileSize == 0x10000000 || dataFileSize == 0x20000000 || dataFileSize == 0x40000000 ? dataFileSize
                                                                                                  : 0x10000000;
}

// Where media frames begin inside a data file.
constexpr uint32_t mediaStart(uint32_t dataFileSize) {
    return normalisedDataFileSize(dataFileSize) == 0x10000000 ? 0x200000 : 0x800000;
}

// Event records per file block.
constexpr uint32_t eventsPerFile(uint32_t dataFileSize) { return dataFileSize == 0x40000000 ? 512 : 256; }

constexpr uint64_t dataAreaBase(const disk_param_t& p) {
    return p.dataFileSize != 0 || p.data_offset != 0 ? p.data_offset : 0x20000000ull;
}

// Byte offset of a data file on a raw drive.
constexpr uint64_t dataFileOffset(const disk_param_t& p, int partition, uint32_t fileIndex) {
    return p.part_start[partition] + dataAreaBase(p) +
           static_cast<uint64_t>(fileIndex) * normalisedDataFileSize(p.dataFileSize);
}

// Byte offset of index copy `copy` of a partition on a raw drive.
constexpr uint64_t indexCopyOffset(const disk_param_t& p, int partition, int copy) {
    return p.part_start[partition] + static_cast<uint64_t>(copy) * p.index_size;
}

struct IndexCopyChoice {
    int primary;
    int secondary;
};

// The two lowest valid copies of a partition; none when fewer than two are valid.
constexpr std::optional<IndexCopyChoice> chooseIndexCopies(uint8_t validBits) {
    int found[2] = {-1, -1};
    int n = 0;
    for (int c = 0; c < kIndexCopies && n < 2; ++c)
        if (validBits & (1u << c))
            found[n++] = c;
    if (n < 2)
        return std::nullopt;
    return IndexCopyChoice{found[0], found[1]};
}

}  // namespace rfs
