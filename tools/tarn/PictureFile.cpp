#include "PictureFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "Failure.h"
#include "FilePlacement.h"

namespace tarn {
namespace {

bool writeAll(int fd, const std::vector<uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

void writePictureFile(const std::filesystem::path& target, const std::vector<uint8_t>& bytes, bool replace) {
    const std::filesystem::path temporary = temporaryBeside(target, "writing");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        throw Failure(target.string() + " cannot be created: its folder is missing or not writable");
    const bool written = writeAll(fd, bytes);
    if (::close(fd) != 0 || !written) {
        std::remove(temporary.c_str());
        throw Failure("writing " + target.string() + " failed; " + target.string() + " was left as it was");
    }
    const Placement placement = placeFile(temporary, target, replace);
    if (placement == Placement::Placed)
        return;
    std::remove(temporary.c_str());
    if (placement == Placement::TargetAppeared)
        throw Failure(target.string() + " appeared while the picture was written; it was left as it was");
    throw Failure(temporary.string() + " cannot be renamed to " + target.string());
}

}  // namespace tarn
