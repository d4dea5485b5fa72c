// The label area of an attached disk: its head and its two blocks of 16384 entries, read and written
// through the disk's raw or directory access. Every transfer stays inside the area.
#pragma once

#include <cstdint>
#include <vector>

#include "DiskRegistry.h"
#include "StoreFile.h"
#include "rfs/LabelRecords.h"

namespace kvrfs {

constexpr uint32_t kLabelsPerBlock = rfs::kMaxLabels / 2;
constexpr std::size_t kLabelBlockBytes = kLabelsPerBlock * sizeof(rfs::label_info_t);
constexpr int32_t kNoLabelArea = -34;

bool hasLabelArea(AccessMode mode, const rfs::disk_param_t& param);

class LabelArea {
public:
    LabelArea(AccessMode mode, const std::string& storePath, const rfs::disk_param_t& param, OpenFor access);

    bool isOpen() const { return file_.isOpen(); }
    bool readHead(rfs::label_head_t& head) const;
    bool writeHead(const rfs::label_head_t& head) const;
    // Block 0 holds labels 0..16383, block 1 labels 16384..32767.
    bool readBlock(int block, std::vector<rfs::label_info_t>& entries) const;
    bool readEntry(uint32_t number, rfs::label_info_t& entry) const;
    // count entries from number on; they must end inside the area.
    bool writeEntries(uint32_t number, const rfs::label_info_t* entries, uint32_t count) const;
    bool writeName(uint32_t number, const char (&name)[sizeof(rfs::label_info_t::name)]) const;

private:
    uint64_t entryOffset(uint32_t number) const { return base_ + rfs::kLabelEntriesOffset + uint64_t{number} * 64; }
    bool write(const void* data, uint64_t offset, std::size_t length) const;

    StoreFile file_;
    AccessMode mode_;
    uint64_t base_;
};

}  // namespace kvrfs
