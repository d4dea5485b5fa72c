#include "rfssim/RawImageMedium.h"

namespace rfssim {
namespace {

// One data file seen through the image: offsets shift by where the file starts.
class ImageRegion final : public ByteSink {
public:
    ImageRegion(std::shared_ptr<PosixFile> image, uint64_t base) : image_(std::move(image)), base_(base) {}
    void writeAt(uint64_t offset, std::span<const uint8_t> bytes) override { image_->writeAt(base_ + offset, bytes); }

private:
    std::shared_ptr<PosixFile> image_;
    uint64_t base_;
};

}  // namespace

RawImageMedium::RawImageMedium(const std::filesystem::path& path, const StoreGeometry& geometry)
    : param_(geometry.param), image_(std::make_shared<PosixFile>(path, PosixFile::Mode::CreateNew)) {
    image_->resize(geometry.storeBytes);
}

void RawImageMedium::writeParamBlock(const rfs::disk_param_t& param) {
    image_->writeAt(rfs::kDiskParamOffset, recordBytes(param));
}

void RawImageMedium::writeLabelArea(uint64_t offset, std::span<const uint8_t> bytes) {
    image_->writeAt(param_.label_offset + offset, bytes);
}

void RawImageMedium::writeIndexArea(int partition, int copy, uint64_t offset, std::span<const uint8_t> bytes) {
    image_->writeAt(rfs::indexCopyOffset(param_, partition, copy) + offset, bytes);
}

std::unique_ptr<ByteSink> RawImageMedium::openDataFile(int partition, uint32_t index) {
    return std::make_unique<ImageRegion>(image_, rfs::dataFileOffset(param_, partition, index));
}

}  // namespace rfssim
