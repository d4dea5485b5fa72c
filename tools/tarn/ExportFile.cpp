#include "ExportFile.h"

#include <cstdio>

#include "Failure.h"
#include "FilePlacement.h"
#include "KVPlay.h"
#include "rfs/PackedTime.h"

namespace tarn {

ExportFile::ExportFile(std::filesystem::path target, bool replace)
    : target_(std::move(target)), temporary_(temporaryBeside(target_, "exporting")), replace_(replace) {
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

void ExportFile::placeFile() {
    const Placement placement = tarn::placeFile(temporary_, target_, replace_);
    if (placement == Placement::Placed)
        return;
    if (placement == Placement::TargetAppeared) {
        keepTemporary_ = true;
        throw Failure(target_.string() + " appeared while exporting; the export was kept as " + temporary_.string());
    }
    throw Failure(temporary_.string() + " cannot be renamed to " + target_.string());
}

}  // namespace tarn
