// The label head read at attach, and its rescan after an interrupted label change.
#pragma once

#include <optional>
#include <string>

#include "StoreFile.h"
#include "rfs/DiskParam.h"
#include "rfs/LabelRecords.h"

namespace kvrfs {

// The head as read (and, when its write flag was set, as rescanned and written back).
std::optional<rfs::label_head_t> scanLabelHead(AccessMode mode, const std::string& path,
                                               const rfs::disk_param_t& param);

}  // namespace kvrfs
