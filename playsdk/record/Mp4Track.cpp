#include "Mp4Track.h"

namespace kvplay::record {

namespace {
constexpr int64_t kMaxStepUs = 3'000'000;  // a larger step is a gap in the recording, not a pause
constexpr int64_t kGapStepUs = 40'000;     // the step a gap is replaced with
constexpr uint64_t kMaxChunkBytes = 0x100000;
}  // namespace

Mp4Track::Mp4Track(Kind kind, uint8_t codec, uint32_t timescale, uint32_t trackId)
    : kind(kind), codec(codec), timescale(timescale), trackId(trackId) {}

// The step from the previous sample's capture time, in track units. The time of a sample is only
// known when the next one arrives, so the previous sample receives the step.
uint64_t Mp4Track::deltaTo(uint64_t captureTimeUs) const {
    int64_t stepUs = static_cast<int64_t>(captureTimeUs - previousTimeUs_);
    if (stepUs > kMaxStepUs || stepUs < -kMaxStepUs)
        stepUs = kGapStepUs;
    if (stepUs < 0) {
        const std::size_t count = samples_.size();
        return count >= 2 ? samples_[count - 2].delta : 0;
    }
    return static_cast<uint64_t>(stepUs) * timescale / 1'000'000;
}

void Mp4Track::addSample(uint64_t position, uint32_t size, uint64_t captureTimeUs, bool key, const SavedHeader& saved) {
    if (!samples_.empty())
        samples_.back().delta = deltaTo(captureTimeUs);
    previousTimeUs_ = captureTimeUs;
    samples_.push_back({position, 0, size, key});
    saved_.push_back(saved);
    sampleBytes_ += size;
    keyCount_ += key ? 1 : 0;
}

uint64_t Mp4Track::sampleDelta(std::size_t index) const {
    const std::size_t count = samples_.size();
    if (index + 1 < count)
        return samples_[index].delta;
    return count >= 2 ? samples_[count - 2].delta : 0;
}

uint64_t Mp4Track::duration() const {
    uint64_t total = 0;
    for (std::size_t i = 0; i < samples_.size(); ++i)
        total += sampleDelta(i);
    return total;
}

std::vector<Mp4Chunk> Mp4Track::chunks() const {
    std::vector<Mp4Chunk> result;
    uint64_t chunkEnd = 0;
    uint64_t chunkBytes = 0;
    for (const Mp4Sample& sample : samples_) {
        if (result.empty() || sample.position != chunkEnd || chunkBytes + sample.size >= kMaxChunkBytes) {
            result.push_back({sample.position, 0});
            chunkBytes = 0;
        }
        ++result.back().samples;
        chunkBytes += sample.size;
        chunkEnd = sample.position + sample.size;
    }
    return result;
}

}  // namespace kvplay::record
