#include "RecordFileFormat.h"

#include "CKVMP4RecordFile.h"

namespace kvplay::record {

std::optional<RecordFileFormat> recordFileFormat(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    const std::string_view extension = path.substr(dot + 1, 3);
    if (extension == "avi")
        return RecordFileFormat::Avi;
    if (extension == "mp4")
        return RecordFileFormat::Mp4;
    return RecordFileFormat::Private;
}

std::unique_ptr<CBaseRecordFile> makeRecordFile(RecordFileFormat format) {
    switch (format) {
    case RecordFileFormat::Mp4:
        return std::make_unique<CKVMP4RecordFile>();
    case RecordFileFormat::Avi:
    case RecordFileFormat::Private:
        break;
    }
    return nullptr;
}

}  // namespace kvplay::record
