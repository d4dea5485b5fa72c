// Which file format a record file path asks for, and the writer for it.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "CBaseRecordFile.h"

namespace kvplay::record {

enum class RecordFileFormat { Private, Avi, Mp4 };

// Decided by the first three characters after the path's last '.', case-sensitively: "avi", "mp4", and
// the private format for anything else. None for a path without '.'.
std::optional<RecordFileFormat> recordFileFormat(std::string_view path);

// A new, unopened record file of that format; null for formats this library cannot write yet.
std::unique_ptr<CBaseRecordFile> makeRecordFile(RecordFileFormat format);

}  // namespace kvplay::record
