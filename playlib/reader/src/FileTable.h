// A partition's file table at the reader's record size. The reader uses the fields every record size
// shares; a write of one record leaves the bytes after them as the medium has them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "rfs/DiskParam.h"
#include "rfs/IndexRecords.h"

namespace kvrfs {

uint64_t fileRecordOffset(const rfs::disk_param_t& param, uint32_t fileIndex);
std::size_t fileTableBytes(uint32_t count);
// `raw` holds fileTableBytes(count) bytes.
std::vector<rfs::index_file_info> decodeFileTable(const std::vector<unsigned char>& raw, uint32_t count);

}  // namespace kvrfs
