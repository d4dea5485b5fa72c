// The two records whose size tells a hard disk's store from an SD card's: the file record (112 bytes,
// 120 on a card) and the key-frame index entry (32 bytes, 16 on a card). Writers keep the disk's
// structs and turn them into the store's bytes here, so the difference lives in one place.
#pragma once

#include <cstdint>
#include <vector>

#include "rfs/IndexRecords.h"
#include "rfssim/Scenario.h"

namespace rfssim {

constexpr uint32_t fileRecordSize(StoreKind kind) {
    return kind == StoreKind::SdCard ? sizeof(rfs::index_file_info_sd) : sizeof(rfs::index_file_info);
}

constexpr uint32_t keyFrameEntrySize(StoreKind kind) {
    return kind == StoreKind::SdCard ? sizeof(rfs::iframe_info_sd_t) : sizeof(rfs::iframe_info_t);
}

// A card's record has 8 zero bytes more.
std::vector<uint8_t> fileRecordBytes(const rfs::index_file_info& record, StoreKind kind);

// A card's entry keeps the magic, the time and the key frame's position; it has no length and no
// reference, as a card lists no virtual key frames.
std::vector<uint8_t> keyFrameEntryBytes(const rfs::iframe_info_t& entry, StoreKind kind);

}  // namespace rfssim
