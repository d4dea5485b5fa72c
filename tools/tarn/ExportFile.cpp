#include "ExportFile.h"

#include "Failure.h"
#include "KVPlay.h"
#include "rfs/PackedTime.h"

namespace tarn {

ExportFile::ExportFile(std::filesystem::path path) : path_(std::move(path)) {
    file_ = KVPlayCreateRecordFile(path_.c_str(), 0);
    if (file_ == nullptr)
        throw Failure(path_.string() + " cannot be created");
}

ExportFile::~ExportFile() {
    if (file_ == nullptr)
        return;
    KVPlayDestroyRecordFile(file_);
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

void ExportFile::write(const rfs::KVFrameHeader* header) {
    const int length = static_cast<int>(rfs::kFrameHeaderSize + header->framesize);
    const int32_t result =
        KVPlayInputRecordFile(file_, reinterpret_cast<const uint8_t*>(header), length, 0);
    if (result != 0 && result != KVPLAY_RECORD_DAY_CHANGED)
        throw Failure("writing " + path_.string() + " failed at the frame captured at " +
                      rfs::formatTime(rfs::captureCalendarTime(*header)) + "; the partial file was removed");
}

void ExportFile::finish() {
    const int32_t result = KVPlayDestroyRecordFile(file_);
    file_ = nullptr;
    if (result != 0) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        throw Failure("finishing " + path_.string() + " failed; the partial file was removed");
    }
}

}  // namespace tarn
