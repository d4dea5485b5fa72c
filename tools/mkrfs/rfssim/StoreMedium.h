// Where a store's parts live. A raw image holds everything in one file at the offsets of the parameter
// block; a directory store keeps each part in a file of its own.
#pragma once

#include <filesystem>
#include <memory>
#include <span>

#include "rfs/DiskParam.h"
#include "rfssim/ByteSink.h"
#include "rfssim/Scenario.h"
#include "rfssim/StoreGeometry.h"

namespace rfssim {

class StoreMedium {
public:
    virtual ~StoreMedium() = default;
    virtual void writeParamBlock(const rfs::disk_param_t& param) = 0;
    // Offsets are relative to the start of the label area or of the index area.
    virtual void writeLabelArea(uint64_t offset, std::span<const uint8_t> bytes) = 0;
    virtual void writeIndexArea(int partition, int copy, uint64_t offset, std::span<const uint8_t> bytes) = 0;
    // Offsets written through the sink are relative to the start of the data file.
    virtual std::unique_ptr<ByteSink> openDataFile(int partition, uint32_t index) = 0;
};

// Creates the empty, sparse files of the store; the path must not hold a store yet.
std::unique_ptr<StoreMedium> createMedium(StoreLayout layout, const std::filesystem::path& path,
                                          const StoreGeometry& geometry);

}  // namespace rfssim
