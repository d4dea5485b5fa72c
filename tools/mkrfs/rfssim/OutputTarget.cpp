#include "rfssim/OutputTarget.h"

#include <algorithm>
#include <vector>

#include "rfssim/DirectoryMedium.h"
#include "rfssim/SimError.h"

namespace rfssim {
namespace fs = std::filesystem;
namespace {

std::vector<fs::path> storeFilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && isStoreFileName(entry.path().filename().string()))
            files.push_back(entry.path());
    return files;
}

void prepareImage(const fs::path& path, bool force) {
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    if (!fs::exists(path))
        return;
    if (!fs::is_regular_file(path))
        throw SimError(path.string() + " exists and is not an image file");
    if (!force)
        throw SimError(path.string() + " already exists; use --force to replace it");
    fs::remove(path);
}

void prepareFolder(const fs::path& path, bool force) {
    if (!fs::exists(path))
        return;
    if (!fs::is_directory(path))
        throw SimError(path.string() + " exists and is not a folder");
    if (fs::is_empty(path))
        return;
    if (!force)
        throw SimError(path.string() + " is not empty; use --force to replace the store in it");
    const std::vector<fs::path> storeFiles = storeFilesIn(path);
    for (const fs::directory_entry& entry : fs::directory_iterator(path))
        if (std::find(storeFiles.begin(), storeFiles.end(), entry.path()) == storeFiles.end())
            throw SimError(path.string() + " holds " + entry.path().filename().string() +
                           ", which is no part of a store; not removing anything there");
    for (const fs::path& file : storeFiles)
        fs::remove(file);
}

}  // namespace

void prepareOutput(const fs::path& path, StoreLayout layout, bool force) {
    if (layout == StoreLayout::RawImage)
        prepareImage(path, force);
    else
        prepareFolder(path, force);
}

void discardOutput(const fs::path& path, StoreLayout layout) {
    std::error_code ignored;
    if (layout == StoreLayout::RawImage) {
        fs::remove(path, ignored);
        return;
    }
    if (!fs::is_directory(path, ignored))
        return;
    for (const fs::path& file : storeFilesIn(path))
        fs::remove(file, ignored);
}

}  // namespace rfssim
