// The SD card reader: folder stores only, 16 cards, 120-byte file records, 16-byte key-frame entries
// without virtual key frames, thumbnails in the event records, and a file-system byte to check.
#include <cstring>

#include "MessageLine.h"
#include "ReaderProfile.h"

namespace kvrfs {
namespace {

constexpr uint8_t kRawCard = 3;

rfs::iframe_info_t decodeEntry(const unsigned char* raw) {
    rfs::iframe_info_sd_t stored;
    std::memcpy(&stored, raw, sizeof stored);
    rfs::iframe_info_t entry{};
    entry.magic = stored.magic;
    entry.time = stored.time;
    entry.offset = stored.index_data_start;
    entry.ref_offset = stored.index_data_start;
    return entry;
}

bool acceptsCard(const rfs::disk_param_t& param) {
    if (param.fs_type > kRawCard) {
        message("disk param err not support fs type now!\n");
        return false;
    }
    if (param.fs_type == kRawCard)
        message("add raw disk now!\n");
    if (param.dataFileSize != 0 && param.dataFileSize != rfs::kSdDataFileSize) {
        message("not valid rfs format, disk dataFileSize:%d, filesytem dataFileSize:%d!\n",
                static_cast<int>(param.dataFileSize), static_cast<int>(rfs::kSdDataFileSize));
        return false;
    }
    return true;
}

// A card has no disk state to repair and no label area.
bool prepareCard(int, AccessMode, const std::string&, rfs::disk_param_t&, rfs::label_head_t&) {
    return true;
}

// 0 searches both classes of cards, 1 normal cards, 2 redundant ones, 4 (the count search) both;
// anything else finds no card.
unsigned passesOf(uint8_t findMode) {
    switch (findMode) {
        case 0:
        case 4:
            return 3;
        case 1:
            return 1;
        case 2:
            return 2;
        default:
            return 0;
    }
}

}  // namespace

const ReaderProfile& readerProfile() {
    static const ReaderProfile profile{
        .directoryOnly = true,
        .maxDisks = 16,
        .groupsPerPass = 16,
        .refusesUnknownGroup = true,
        .versionLo = rfs::kSdVersionLo,
        .fileRecordSize = sizeof(rfs::index_file_info_sd),
        .keyFrameEntrySize = sizeof(rfs::iframe_info_sd_t),
        .keyFrameWindowEntries = 256,
        .eventsCarryThumbnails = true,
        .diskRecordFailure = "malloc disk_info_t failed\n",
        .messageStream = MessageStream::StandardOutput,
        .decodeKeyFrameEntry = decodeEntry,
        .acceptsStore = acceptsCard,
        .prepareDisk = prepareCard,
        .labelMonthSearch = nullptr,
        .searchPasses = passesOf,
    };
    return profile;
}

}  // namespace kvrfs
