// One track of the file being written: its format, its samples as they were placed in the file and
// the saved frame headers that let our reader give the records back.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kvplay::record {

constexpr std::size_t kSavedHeaderSize = 48;  // the 40-byte frame header and 8 payload bytes
using SavedHeader = std::array<uint8_t, kSavedHeaderSize>;

struct Mp4Sample {
    uint64_t position = 0;
    uint64_t delta = 0;  // track units up to the next sample; set when the next one arrives
    uint32_t size = 0;
    bool key = false;
};

struct Mp4Chunk {
    uint64_t offset = 0;
    uint32_t samples = 0;
};

class Mp4Track {
public:
    enum class Kind { Video, Audio };

    Mp4Track(Kind kind, uint8_t codec, uint32_t timescale, uint32_t trackId);

    void addSample(uint64_t position, uint32_t size, uint64_t captureTimeUs, bool key, const SavedHeader& saved);
    // Chunks of samples that lie back to back in the file, each below 1 MiB.
    std::vector<Mp4Chunk> chunks() const;

    Kind kind;
    uint8_t codec;
    uint32_t timescale;
    uint32_t trackId;
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t channels = 1;
    uint16_t sampleSize = 16;
    std::vector<uint8_t> keptFrame;  // the first key frame (video) or ADTS frame (audio)

    const std::vector<Mp4Sample>& samples() const { return samples_; }
    const std::vector<SavedHeader>& savedHeaders() const { return saved_; }
    // The last sample lasts as long as the one before it.
    uint64_t sampleDelta(std::size_t index) const;
    uint64_t duration() const;  // track units
    uint64_t sampleBytes() const { return sampleBytes_; }
    uint32_t keyCount() const { return keyCount_; }

private:
    uint64_t deltaTo(uint64_t captureTimeUs) const;

    std::vector<Mp4Sample> samples_;
    std::vector<SavedHeader> saved_;
    uint64_t previousTimeUs_ = 0;
    uint64_t sampleBytes_ = 0;
    uint32_t keyCount_ = 0;
};

}  // namespace kvplay::record
