#include "rfssim/StoreMedium.h"

#include "rfssim/DirectoryMedium.h"
#include "rfssim/RawImageMedium.h"

namespace rfssim {

std::unique_ptr<StoreMedium> createMedium(StoreLayout layout, const std::filesystem::path& path,
                                          const StoreGeometry& geometry) {
    if (layout == StoreLayout::RawImage)
        return std::make_unique<RawImageMedium>(path, geometry);
    return std::make_unique<DirectoryMedium>(path, geometry);
}

}  // namespace rfssim
