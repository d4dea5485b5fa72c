// A store as a folder: four index files, a label file and one file per data file.
#pragma once

#include <string>

#include "rfssim/StoreMedium.h"

namespace rfssim {

std::string indexFileName(int copy);
std::string dataFileName(uint32_t index);
constexpr const char* kLabelFileName = "label0";
// Whether a folder entry is one a directory store consists of.
bool isStoreFileName(const std::string& name);

class DirectoryMedium final : public StoreMedium {
public:
    DirectoryMedium(const std::filesystem::path& folder, const StoreGeometry& geometry);

    void writeParamBlock(const rfs::disk_param_t& param) override;
    void writeLabelArea(uint64_t offset, std::span<const uint8_t> bytes) override;
    void writeIndexArea(int partition, int copy, uint64_t offset, std::span<const uint8_t> bytes) override;
    std::unique_ptr<ByteSink> openDataFile(int partition, uint32_t index) override;

private:
    void writeFile(const std::string& name, uint64_t offset, std::span<const uint8_t> bytes) const;

    std::filesystem::path folder_;
    rfs::disk_param_t param_;
};

}  // namespace rfssim
