// The shape of the benchmark store: a 4 TB recorder disk on which 16 cameras recorded their main and
// second streams for five days.
#pragma once

#include <cstdint>

#include "rfs/DiskParam.h"
#include "rfs/FrameRecord.h"
#include "rfs/PackedTime.h"

namespace storebench {

constexpr uint64_t kMiB = 1024 * 1024;
constexpr uint64_t kDiskBytes = 4'000'787'030'016;  // 7,814,037,168 sectors: a "4 TB" disk
constexpr int kPartitions = 4;
constexpr uint32_t kDataFileSize = 0x10000000;
constexpr uint32_t kEventsPerFile = rfs::eventsPerFile(kDataFileSize);
constexpr uint32_t kMediaStart = rfs::mediaStart(kDataFileSize);
constexpr uint32_t kEntrySize = 32;  // one key-frame index entry

// Store channel c < kChannels is camera c's main stream, c + kChannels its second stream.
constexpr int kChannels = 16;
constexpr int kTracks = 2 * kChannels;
constexpr int kDiskId = 0;

constexpr rfs::CalendarTime kFirstDay{2026, 12, 1};
constexpr int kDays = 5;

inline int64_t dayStart(int day) {
    return rfs::toEpochSeconds(kFirstDay) + int64_t{day} * 86400;
}

// One I frame a second, then P frames; the sizes give the stream's bit rate.
constexpr int kFramesPerSecond = 25;
struct StreamShape {
    uint32_t iFrameSize;
    uint32_t pFrameSize;
    uint16_t width;
    uint16_t height;
};
constexpr StreamShape kMainStream{39'996, 8'746, 1920, 1080};  // about 2 Mbit/s
constexpr StreamShape kSecondStream{11'996, 2'150, 704, 576};  // about 512 kbit/s

constexpr const StreamShape& streamOf(int track) {
    return track < kChannels ? kMainStream : kSecondStream;
}

// Bytes one second of a stream occupies in a data file.
constexpr uint64_t secondBytes(const StreamShape& s) {
    return rfs::storedFrameLength(s.iFrameSize) + (kFramesPerSecond - 1) * rfs::storedFrameLength(s.pFrameSize);
}

}  // namespace storebench
