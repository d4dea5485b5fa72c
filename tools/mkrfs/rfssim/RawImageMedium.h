// A store as one sparse image file laid out like the recorder's disk.
#pragma once

#include <memory>

#include "rfssim/PosixFile.h"
#include "rfssim/StoreMedium.h"

namespace rfssim {

class RawImageMedium final : public StoreMedium {
public:
    RawImageMedium(const std::filesystem::path& path, const StoreGeometry& geometry);

    void writeParamBlock(const rfs::disk_param_t& param) override;
    void writeLabelArea(uint64_t offset, std::span<const uint8_t> bytes) override;
    void writeIndexArea(int partition, int copy, uint64_t offset, std::span<const uint8_t> bytes) override;
    std::unique_ptr<ByteSink> openDataFile(int partition, uint32_t index) override;

private:
    rfs::disk_param_t param_;
    std::shared_ptr<PosixFile> image_;
};

}  // namespace rfssim
