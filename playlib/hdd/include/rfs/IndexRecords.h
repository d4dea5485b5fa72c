// Records of a partition's index area and of a data file's inner map.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rfs/PackedTime.h"

namespace rfs {

constexpr uint32_t kPartMagic = 0x74726150;       // "Part"
constexpr uint32_t kFileMagic = 0x656c6946;       // "File"
constexpr uint32_t kEventMagic = 0x6e657645;      // "Even"
constexpr uint32_t kEventWritingMagic = 0x72577645;  // "EvWr"
constexpr uint32_t kIFrameMagic = 0x61726649;     // "Ifra"
constexpr uint32_t kIFrameEndMagic = 0x646e6549;  // "Iend"
constexpr uint32_t kMobitMagic = 0x69426f4d;      // "MoBi"
constexpr uint32_t kMobitEndMagic = 0x646e4574;   // "tEnd"
constexpr uint32_t kOpenFileSeq = 0xFFFFFFFF;     // eseq of a file still being written
constexpr uint32_t kMobitStart = 4096;

enum FileState : uint8_t { FileFree = 0, FileInUse = 1, FileEventsOnly = 2, FileNotSearched = 3, FileRepaired = 4 };
enum FileType : uint8_t { RecordingFile = 0, PictureFile = 1 };
enum RecordType : uint32_t { RecNormal = 1u << 0, RecMotion = 1u << 1, RecIo = 1u << 2 };

#pragma pack(push, 1)
struct part_info_t {
    uint32_t magic;
    uint16_t file_nr;
    uint16_t free_nr;
    uint16_t reserved8;
    uint8_t state;   // 2: bad
    uint8_t active;  // 1: the recorder was writing here
    uint32_t switch_count;
    PackedTime rec_start;
    PackedTime rec_end;
    PackedTime pic_start;
    PackedTime pic_end;
    uint8_t reserved32[8];
};

struct index_file_info {
    uint32_t magic;
    uint16_t file_no;   // data file index + 1
    uint16_t event_nr;
    uint8_t state;
    uint8_t chn;
    uint8_t type;
    uint8_t reserved11;
    PackedTime start_time;
    PackedTime end_time;
    uint32_t eseq;
    uint32_t data_end;
    uint32_t index_low;
    uint32_t switch_count;
    uint32_t day_bits[16];
    uint32_t mobit_end;
    uint32_t chn_mask[2];
};

struct index_event_info {
    uint32_t magic;
    PackedTime start_time;
    uint32_t data_start;
    uint32_t kf_top;
    uint32_t rec_type;
    uint16_t event_no;
    uint8_t norm;
    uint8_t res;
    uint32_t mobit_start;
    PackedTime end_time;
    uint32_t data_len;
    uint32_t kf_low;
    uint8_t flag;  // 1: hidden from searches; 2: listed and marked
    uint8_t reserved41[3];
    uint32_t mobit_end;
};

struct iframe_info_t {
    uint32_t magic;
    PackedTime time;
    uint32_t offset;
    uint32_t length;
    uint32_t ref_offset;  // differs from offset for a virtual key frame
    uint32_t ref_length;
    uint8_t reserved24[8];
};

// An SD card's store: the same file record with 8 more bytes at the end.
struct index_file_info_sd {
    index_file_info common;
    uint8_t reserved112[8];
};

// An SD card's key-frame index entry: the key frame's own position, no length and no reference.
struct iframe_info_sd_t {
    uint32_t magic;  // "Ifra", or "Iend" in the slot below the last entry written
    PackedTime time;
    uint32_t index_data_start;
    uint32_t reserved12;
};

struct mobit_info_t {
    uint32_t magic;
    uint32_t magic2;  // "tEnd" in the end marker
    uint8_t bits[72];
};
#pragma pack(pop)

static_assert(sizeof(part_info_t) == 40);
static_assert(offsetof(part_info_t, state) == 10);
static_assert(offsetof(part_info_t, rec_start) == 16);
static_assert(offsetof(part_info_t, pic_end) == 28);
static_assert(sizeof(index_file_info) == 112);
static_assert(offsetof(index_file_info, state) == 8);
static_assert(offsetof(index_file_info, eseq) == 20);
static_assert(offsetof(index_file_info, day_bits) == 36);
static_assert(offsetof(index_file_info, mobit_end) == 100);
static_assert(sizeof(index_event_info) == 48);
static_assert(offsetof(index_event_info, event_no) == 20);
static_assert(offsetof(index_event_info, mobit_start) == 24);
static_assert(offsetof(index_event_info, flag) == 40);
static_assert(offsetof(index_event_info, mobit_end) == 44);
static_assert(sizeof(iframe_info_t) == 32);
static_assert(offsetof(iframe_info_t, ref_offset) == 16);
static_assert(sizeof(mobit_info_t) == 80);
static_assert(sizeof(index_file_info_sd) == 120);
static_assert(sizeof(iframe_info_sd_t) == 16);
static_assert(offsetof(iframe_info_sd_t, index_data_start) == 8);

// On an SD card an event record's motion-bit fields hold its thumbnail instead: mobit_start the
// position of a 'T' frame record in the event's data file, mobit_end its length.
constexpr uint16_t kSdVersionLo = 4;
constexpr uint32_t kSdDataFileSize = 0x10000000;

// Byte offset of data file `fileIndex`'s event block inside an index area.
constexpr uint64_t eventBlockOffset(uint32_t eventTableOffset, uint32_t fileIndex, uint32_t eventsPerFile) {
    return eventTableOffset + static_cast<uint64_t>(fileIndex) * eventsPerFile * sizeof(index_event_info);
}

}  // namespace rfs
