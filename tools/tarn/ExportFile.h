// The MP4 file an export writes, through the player library's record file calls. It is written under a
// temporary name beside the target and put in place only when it is complete, so that a failed or
// interrupted export never leaves a half-written file and never harms a file already there.
#pragma once

#include <cstdint>
#include <filesystem>

#include "rfs/FrameRecord.h"

namespace tarn {

class ExportFile {
public:
    // replace: an existing target may be replaced. Throws Failure when the file cannot be created.
    ExportFile(std::filesystem::path target, bool replace);
    ~ExportFile();

    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    // header is followed in memory by its payload. Throws Failure when the writer fails.
    void write(const rfs::KVFrameHeader* header);
    // Finalises the file and gives it the target's name. Throws Failure when that fails.
    void finish();

private:
    void placeFile();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    bool replace_;
    void* file_ = nullptr;
    bool keepTemporary_ = false;
};

}  // namespace tarn
