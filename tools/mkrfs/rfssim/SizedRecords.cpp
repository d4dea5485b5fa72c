#include "rfssim/SizedRecords.h"

#include "rfssim/ByteSink.h"

namespace rfssim {
namespace {

template <typename Record>
std::vector<uint8_t> bytesOf(const Record& record) {
    const std::span<const uint8_t> bytes = recordBytes(record);
    return {bytes.begin(), bytes.end()};
}

}  // namespace

std::vector<uint8_t> fileRecordBytes(const rfs::index_file_info& record, StoreKind kind) {
    if (kind == StoreKind::HardDisk)
        return bytesOf(record);
    rfs::index_file_info_sd card{};
    card.common = record;
    return bytesOf(card);
}

std::vector<uint8_t> keyFrameEntryBytes(const rfs::iframe_info_t& entry, StoreKind kind) {
    if (kind == StoreKind::HardDisk)
        return bytesOf(entry);
    return bytesOf(rfs::iframe_info_sd_t{entry.magic, entry.time, entry.offset, 0});
}

}  // namespace rfssim
