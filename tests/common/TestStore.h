// A small store written by the recorder simulator, with accessors to inspect and damage it.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "RecordFile.h"
#include "rfs/DiskParam.h"
#include "rfs/IndexRecords.h"
#include "rfssim/Scenario.h"

using rfssim::StoreLayout;

namespace rfssim {
// Names the layout in parameterised test names.
inline void PrintTo(StoreLayout layout, std::ostream* out) {
    *out << (layout == StoreLayout::Directory ? "directory" : "raw image");
}
}  // namespace rfssim

struct TestStore {
    std::filesystem::path path;  // the image file or the store directory
    StoreLayout layout = StoreLayout::RawImage;

    bool directory() const { return layout == StoreLayout::Directory; }

    // Where the parameter block is read from: the image, or the first index file present.
    std::filesystem::path paramFile() const;
    std::filesystem::path indexFile(int copy) const { return directory() ? path / ("index" + std::to_string(copy)) : path; }

    rfs::disk_param_t param() const { return readRecord<rfs::disk_param_t>(paramFile(), rfs::kDiskParamOffset); }
    // Writes the block to the image or to every index file present, with a matching check sum unless told not to.
    void setParam(rfs::disk_param_t block, bool fixCheckSum = true) const;

    uint64_t indexArea(int partition, int copy) const;
    rfs::part_info_t partInfo(int partition, int copy) const;
    void setPartInfo(int partition, int copy, const rfs::part_info_t& info) const;
};

// One channel, a few seconds of tiny video per partition; every partition gets `filesPerPartition` files.
TestStore writeTestStore(const std::filesystem::path& dir, rfssim::StoreLayout layout, int partitions = 1,
                         int filesPerPartition = 3);
