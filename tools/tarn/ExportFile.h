// The MP4 file an export writes, through the player library's record file calls. A file that is not
// finished (the export failed) is removed, so that no half-written file passes for an export.
#pragma once

#include <cstdint>
#include <filesystem>

#include "rfs/FrameRecord.h"

namespace tarn {

class ExportFile {
public:
    // Throws Failure when the file cannot be created.
    explicit ExportFile(std::filesystem::path path);
    ~ExportFile();

    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    // header is followed in memory by its payload. Throws Failure when the writer fails.
    void write(const rfs::KVFrameHeader* header);
    // Writes the movie description and closes the file. Throws Failure when that fails.
    void finish();

private:
    std::filesystem::path path_;
    void* file_ = nullptr;
};

}  // namespace tarn
