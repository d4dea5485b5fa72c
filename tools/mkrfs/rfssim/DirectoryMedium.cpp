#include "rfssim/DirectoryMedium.h"

#include <algorithm>
#include <cctype>

#include "rfs/LabelRecords.h"
#include "rfssim/PosixFile.h"
#include "rfssim/SimError.h"

namespace rfssim {
namespace {

void createSparseFile(const std::filesystem::path& path, uint64_t size) {
    PosixFile(path, PosixFile::Mode::CreateNew).resize(size);
}

bool isNumberedName(const std::string& name, std::string_view prefix) {
    if (!name.starts_with(prefix) || name.size() == prefix.size())
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

std::string indexFileName(int copy) {
    return "index" + std::to_string(copy);
}
std::string dataFileName(uint32_t index) {
    return "file" + std::to_string(index);
}

bool isStoreFileName(const std::string& name) {
    return isNumberedName(name, "index") || isNumberedName(name, "file") || isNumberedName(name, "label");
}

DirectoryMedium::DirectoryMedium(const std::filesystem::path& folder, const StoreGeometry& geometry)
    : folder_(folder), param_(geometry.param) {
    if (geometry.filesPerPartition.size() != 1)
        throw SimError("a directory store has exactly one partition");
    std::filesystem::create_directories(folder_);
    for (int copy = 0; copy < rfs::kIndexCopies; ++copy)
        createSparseFile(folder_ / indexFileName(copy), param_.part_start[0] + param_.index_size);
    if (param_.label_offset != 0)
        createSparseFile(folder_ / kLabelFileName, rfs::kLabelAreaSize);
    for (uint32_t n = 0; n < geometry.filesPerPartition[0]; ++n)
        createSparseFile(folder_ / dataFileName(n), geometry.dataFile.size);
}

void DirectoryMedium::writeFile(const std::string& name, uint64_t offset, std::span<const uint8_t> bytes) const {
    PosixFile(folder_ / name, PosixFile::Mode::OpenExisting).writeAt(offset, bytes);
}

void DirectoryMedium::writeParamBlock(const rfs::disk_param_t& param) {
    for (int copy = 0; copy < rfs::kIndexCopies; ++copy)
        writeFile(indexFileName(copy), rfs::kDiskParamOffset, recordBytes(param));
}

void DirectoryMedium::writeLabelArea(uint64_t offset, std::span<const uint8_t> bytes) {
    writeFile(kLabelFileName, offset, bytes);
}

void DirectoryMedium::writeIndexArea(int /*partition*/, int copy, uint64_t offset, std::span<const uint8_t> bytes) {
    writeFile(indexFileName(copy), param_.part_start[0] + offset, bytes);
}

std::unique_ptr<ByteSink> DirectoryMedium::openDataFile(int /*partition*/, uint32_t index) {
    return std::make_unique<PosixFile>(folder_ / dataFileName(index), PosixFile::Mode::OpenExisting);
}

}  // namespace rfssim
