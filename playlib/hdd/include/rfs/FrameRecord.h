// The media frame record: a 40-byte header and its payload, stored padded to 8 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "rfs/PackedTime.h"

namespace rfs {

constexpr uint32_t KVFrameTag = 0x6d46564b;  // "KVFm"
constexpr std::size_t kFrameHeaderSize = 40;

enum FrameType : uint8_t { FrameI = 'I', FrameP = 'P', FrameVirtual = 'V', FrameAudio = 'A', FrameThumbnail = 'T' };

enum VideoCodec : uint8_t { CodecH264 = 1, CodecH265 = 7, CodecMjpeg = 4 };
enum AudioCodec : uint8_t { CodecPcm = 0, CodecG711A = 1, CodecG711U = 2 };

#pragma pack(push, 1)
struct KVFrameHeader {
    uint32_t FrameTag;
    uint8_t frameType;
    uint8_t codec;
    uint8_t channel;  // bits 0..6
    uint8_t flags;
    uint32_t frameNo;
    uint32_t framesize;
    uint64_t Time;       // capture time, µs since 1970 by UTC rules
    uint64_t timestamp;  // pacing time, µs
    union {
        struct {
            uint16_t width;
            uint16_t height;
            uint8_t frameRate;
            uint8_t standard;
            uint16_t videoFlags;
        } video;
        struct {
            uint32_t sampleRate;
            uint8_t channels;
            uint8_t bitsPerSample;
            uint16_t blockSize;
        } audio;
    };
};
#pragma pack(pop)

static_assert(sizeof(KVFrameHeader) == kFrameHeaderSize);
static_assert(offsetof(KVFrameHeader, frameNo) == 8);
static_assert(offsetof(KVFrameHeader, framesize) == 12);
static_assert(offsetof(KVFrameHeader, Time) == 16);
static_assert(offsetof(KVFrameHeader, timestamp) == 24);
static_assert(offsetof(KVFrameHeader, video) == 32);

constexpr bool isMediaFrameType(uint8_t type) {
    return type == FrameI || type == FrameP || type == FrameVirtual || type == FrameAudio;
}

inline bool isFrameHeader(const KVFrameHeader& h) { return h.FrameTag == KVFrameTag && isMediaFrameType(h.frameType); }

// Bytes a record occupies in a data file; 64-bit so a huge framesize cannot wrap.
constexpr uint64_t storedFrameLength(uint32_t framesize) { return kFrameHeaderSize + ((uint64_t{framesize} + 7) & ~uint64_t{7}); }

inline KVFrameHeader readFrameHeader(const void* bytes) {
    KVFrameHeader h;
    std::memcpy(&h, bytes, sizeof h);
    return h;
}

// The recorder's wall-clock time of the frame.
inline CalendarTime captureCalendarTime(const KVFrameHeader& h) {
    return fromEpochSeconds(static_cast<int64_t>(h.Time / 1000000));
}

}  // namespace rfs
