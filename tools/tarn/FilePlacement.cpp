#include "FilePlacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace tarn {
namespace {

bool renameWithoutReplacing(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL)
        return false;
    // A file system that cannot rename without replacing: look first.
    std::error_code error;
    if (std::filesystem::exists(target, error) || error) {
        errno = EEXIST;
        return false;
    }
    return std::rename(temporary.c_str(), target.c_str()) == 0;
}

}  // namespace

std::filesystem::path temporaryBeside(const std::filesystem::path& target, const std::string& activity) {
    return target.parent_path() / ("." + target.stem().string() + "." + activity + "-" + std::to_string(getpid()) +
                                   target.extension().string());
}

Placement placeFile(const std::filesystem::path& temporary, const std::filesystem::path& target, bool replace) {
    const bool placed =
        replace ? std::rename(temporary.c_str(), target.c_str()) == 0 : renameWithoutReplacing(temporary, target);
    if (placed)
        return Placement::Placed;
    return errno == EEXIST ? Placement::TargetAppeared : Placement::Failed;
}

}  // namespace tarn
