#include "FileTable.h"

#include <cstring>

#include "ReaderProfile.h"

namespace kvrfs {

uint64_t fileRecordOffset(const rfs::disk_param_t& param, uint32_t fileIndex) {
    return param.file_table_offset + uint64_t{fileIndex} * readerProfile().fileRecordSize;
}

std::size_t fileTableBytes(uint32_t count) {
    return std::size_t{count} * readerProfile().fileRecordSize;
}

std::vector<rfs::index_file_info> decodeFileTable(const std::vector<unsigned char>& raw, uint32_t count) {
    const std::size_t stride = readerProfile().fileRecordSize;
    std::vector<rfs::index_file_info> table(count);
    for (uint32_t i = 0; i < count; ++i)
        std::memcpy(&table[i], raw.data() + i * stride, sizeof table[i]);
    return table;
}

}  // namespace kvrfs
