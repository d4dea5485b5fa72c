// Reads MP4 files this writer made: every sample comes back as the frame record it was written
// from, using the frame header table behind the movie box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "InputFile.h"
#include "Mp4Track.h"
#include "RecordReader.h"

namespace kvplay::record {

class Mp4FileReader : public RecordReader {
public:
    static constexpr int kNotFound = -2;
    static constexpr int kAccessDenied = -3;
    static constexpr int kNoTable = -2;
    static constexpr int kOtherMaker = -5;

    // 0; kNotFound, kAccessDenied, kOtherMaker; kNoTable for an MP4 file without our table; -1
    // for anything else (fragmented files included).
    int open(const std::string& path);
    int readFrame(uint8_t* buffer, int& length) override;
    int seekToTime(int64_t timeUs) override;
    int timeRange(int64_t& firstUs, int64_t& lastUs) override;
    int keyFrameCount() const override { return static_cast<int>(keyFrames_.size()); }
    int seekToKeyFrame(int index) override;

private:
    struct Sample {
        uint64_t position;
        uint32_t size;
        bool audio;
        SavedHeader saved;
    };
    struct KeyFrame {
        uint64_t timeUs;
        std::size_t sample;     // index into samples_
        std::size_t reference;  // its 'I' frame
        bool skipped;
    };

    int loadTables(std::span<const uint8_t> moovBody, std::span<const uint8_t> tableBody);
    void listKeyFrames();
    std::vector<uint8_t> restoredPrefix(const Sample& sample) const;

    InputFile file_;
    std::vector<Sample> samples_;  // in file order
    std::vector<KeyFrame> keyFrames_;
    std::vector<std::size_t> videoSamples_;
    std::size_t cursor_ = 0;
    std::optional<std::size_t> jumpAfterReference_;  // the 'V' frame to continue with
};

}  // namespace kvplay::record
