#include "ExportFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "Failure.h"
#include "KVPlay.h"
#include "rfs/PackedTime.h"

namespace tarn {
namespace {

// Hidden, unique to this process, and still ending in ".mp4", which chooses the writer.
std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    return target.parent_path() /
           ("." + target.stem().string() + ".exporting-" + std::to_string(getpid()) + target.extension().string());
}

}  // namespace

ExportFile::ExportFile(std::filesystem::path target, bool replace)
    : target_(std::move(target)), temporary_(temporaryBeside(target_)), replace_(replace) {
    file_ = KVPlayCreateRecordFile(temporary_.c_str(), 0);
    if (file_ == nullptr)
        throw Failure(target_.string() + " cannot be created: its folder is missing or not writable");
}

ExportFile::~ExportFile() {
    if (file_ != nullptr)
        KVPlayDestroyRecordFile(file_);
    if (!keepTemporary_)
        std::remove(temporary_.c_str());
}

void ExportFile::write(const rfs::KVFrameHeader* header) {
    const int length = static_cast<int>(rfs::kFrameHeaderSize + header->framesize);
    const int32_t result = KVPlayInputRecordFile(file_, reinterpret_cast<const uint8_t*>(header), length, 0);
    if (result != 0 && result != KVPLAY_RECORD_DAY_CHANGED)
        throw Failure("writing " + target_.string() + " failed at the frame captured at " +
                      rfs::formatTime(rfs::captureCalendarTime(*header)) + "; " + target_.string() +
                      " was left as it was");
}

void ExportFile::finish() {
    const int32_t result = KVPlayDestroyRecordFile(file_);
    file_ = nullptr;
    if (result != 0)
        throw Failure("finishing " + target_.string() + " failed; " + target_.string() + " was left as it was");
    placeFile();
}

bool ExportFile::renameWithoutReplacing() const {
    if (renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL)
        return false;
    // A file system that cannot rename without replacing: look first.
    std::error_code error;
    if (std::filesystem::exists(target_, error) || error) {
        errno = EEXIST;
        return false;
    }
    return std::rename(temporary_.c_str(), target_.c_str()) == 0;
}

void ExportFile::placeFile() {
    const bool placed = replace_ ? std::rename(temporary_.c_str(), target_.c_str()) == 0 : renameWithoutReplacing();
    if (placed)
        return;
    if (errno == EEXIST) {
        keepTemporary_ = true;
        throw Failure(target_.string() + " appeared while exporting; the export was kept as " + temporary_.string());
    }
    throw Failure(temporary_.string() + " cannot be renamed to " + target_.string());
}

}  // namespace tarn
