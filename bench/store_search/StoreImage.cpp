#include "StoreImage.h"

#include <chrono>
#include <fstream>
#include <string>

#include "ImageFile.h"
#include "IndexAreaWriter.h"
#include "SyntheticDataFile.h"

namespace storebench {
namespace {

// Raise when the bytes written change in a way the layout's fingerprint cannot see (frame contents).
constexpr int kLayoutVersion = 1;

std::string stampFor(const StoreLayout& layout) {
    return "layout " + std::to_string(kLayoutVersion) + " " + std::to_string(fingerprint(layout)) + "\n";
}

std::string readStamp(const std::filesystem::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

std::filesystem::path ensureStoreImage(const std::filesystem::path& folder, const StoreLayout& layout,
                                       std::ostream& log) {
    const std::filesystem::path image = folder / "store.img";
    const std::filesystem::path stamp = folder / "layout";
    const std::string wanted = stampFor(layout);
    if (std::filesystem::exists(image) && readStamp(stamp) == wanted)
        return image;

    log << "Building the store image " << image.string() << " ...\n" << std::flush;
    const auto started = std::chrono::steady_clock::now();
    std::filesystem::create_directories(folder);
    std::filesystem::remove(stamp);
    {
        const ImageFile file(image, kDiskBytes);
        writeIndexAreas(file, layout);
        for (const PlannedFile& f : layout.files)
            if (f.holdsBytes)
                writeDataFile(file, layout.param, f);
    }
    // The stamp comes last: an interrupted build is built again.
    std::ofstream(stamp) << wanted;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    log << "Built in " << took.count() << " s\n";
    return image;
}

}  // namespace storebench
