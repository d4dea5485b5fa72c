// Frame records as a recorder stored them: a store is written by the recorder simulator and its data
// file read back record by record (video with 'I', 'P' and 'V' frames, and audio between them).
#pragma once

#include <cstdint>
#include <cstring>
#include <tuple>
#include <vector>

#include "rfs/FrameRecord.h"
#include "rfssim/Scenario.h"

using Record = std::vector<uint8_t>;  // header and payload, as KVPlayInputNetFrame takes it

struct StreamShape {
    rfssim::VideoCodecKind codec = rfssim::VideoCodecKind::H264;
    int virtualKeyFrameEvery = 5;  // 0: no 'V' frames
    int seconds = 8;
    int width = 160;
    int height = 96;
    int gop = 25;

    friend bool operator<(const StreamShape& a, const StreamShape& b) {
        return std::tie(a.codec, a.virtualKeyFrameEvery, a.seconds, a.width, a.height, a.gop) <
               std::tie(b.codec, b.virtualKeyFrameEvery, b.seconds, b.width, b.height, b.gop);
    }
};

// The records of one recording at 25 frames per second with sound, in stored order; written once per
// process and kept.
const std::vector<Record>& storedStream(const StreamShape& shape = {});

inline rfs::KVFrameHeader headerOf(const Record& r) {
    return rfs::readFrameHeader(r.data());
}
inline void setHeader(Record& r, const rfs::KVFrameHeader& h) {
    std::memcpy(r.data(), &h, sizeof h);
}

std::vector<Record> videoOnly(const std::vector<Record>& records);
// The video of a 1920 × 1080 recording, the size the hardware decoder takes.
std::vector<Record> largeVideo(int seconds);
std::vector<Record> ofType(const std::vector<Record>& records, uint8_t type);
