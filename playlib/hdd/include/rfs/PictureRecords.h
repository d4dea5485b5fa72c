// Records of a picture file: the picture index entries, the "PicMon_" block of picture days, and the
// rule that places a picture's frame record inside its 4 KiB block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rfs/PackedTime.h"

namespace rfs {

constexpr uint32_t kPictureMagic = 0x74636950;  // "Pict"
constexpr uint32_t PIC_END_MAGIC = 0x646e6550;  // "Pend", the slot below the last entry written
constexpr uint32_t kPictureBlock = 4096;
constexpr uint32_t kPicMonPosition = 4096;
constexpr uint32_t kPicMonBlockSize = 0x80000;
constexpr char kPicMonText[8] = "PicMon_";

#pragma pack(push, 1)
struct pic_info_t {
    uint32_t magic;
    PackedTime time;
    uint32_t position;  // 4 KiB-aligned block; the low 12 bits hold the bytes before the frame record
    uint32_t length;    // the frame record as stored
    uint32_t rec_type;
    uint32_t reserved20;
    uint8_t pic_chn;
    uint8_t pic_state;  // 2: left out of the repair's count
    uint8_t reserved26;
    uint8_t reserved27;
    uint16_t reserved28;
    uint16_t reserved30;
};

struct pic_mon_head_t {
    char text[8];  // kPicMonText with its NUL
    uint32_t reserved8;
    uint32_t writted_count;  // day records
    PackedTime pic_start;
    PackedTime pic_end;
    uint32_t pic_mon_offset;  // position of the first day record in the data file
    uint32_t pic_mon_size;    // bytes of one day record
};

// The part every day record starts with; pic_mon_size says how long a record is.
struct pic_day_t {
    uint16_t year;  // year - 2000
    uint8_t month;
    uint8_t day;  // counted from 0
};
#pragma pack(pop)

static_assert(sizeof(pic_info_t) == 32);
static_assert(offsetof(pic_info_t, position) == 8);
static_assert(offsetof(pic_info_t, rec_type) == 16);
static_assert(offsetof(pic_info_t, pic_chn) == 24);
static_assert(offsetof(pic_info_t, reserved28) == 28);
static_assert(sizeof(pic_mon_head_t) == 32);
static_assert(offsetof(pic_mon_head_t, writted_count) == 12);
static_assert(offsetof(pic_mon_head_t, pic_mon_offset) == 24);
static_assert(sizeof(pic_day_t) == 4);

constexpr uint32_t externLength(uint32_t position) {
    return position & (kPictureBlock - 1);
}
constexpr uint32_t pictureBlockPosition(uint32_t position) {
    return position & ~(kPictureBlock - 1);
}

// The bytes read for a picture: its leading bytes and frame record, in whole 4 KiB blocks.
constexpr uint64_t pictureBlockLength(uint32_t position, uint32_t length) {
    return (uint64_t{externLength(position)} + length + kPictureBlock - 1) / kPictureBlock * kPictureBlock;
}

}  // namespace rfs
