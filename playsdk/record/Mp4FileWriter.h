// Writes frame records into an MP4 file: samples as they arrive, the movie box and the frame header
// table when the file is finalised.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "DayChangeDetector.h"
#include "G726Transcoder.h"
#include "MovieAtoms.h"
#include "Mp4Track.h"
#include "OutputFile.h"

namespace kvplay::record {

class Mp4FileWriter {
public:
    static constexpr int kDayChanged = 2;

    bool open(const std::string& path);
    // 0 accepted (or dropped before the first key frame), kDayChanged, -1 on failure.
    int writeFrame(std::span<const uint8_t> record);
    // Writes the movie box and the frame header table, patches the media data size, closes.
    bool finalise();

    bool isOpen() const { return file_.isOpen(); }
    uint64_t firstTime() const { return firstTimeUs_; }
    uint64_t lastTime() const { return lastTimeUs_; }

private:
    int writeVideo(std::span<const uint8_t> record);
    int writeAudio(std::span<const uint8_t> record);
    bool startFile(bool h264);
    bool appendSample(Mp4Track& track, std::span<const uint8_t> savedRecord, std::span<const uint8_t> bytes);
    bool patchMediaDataSize();

    OutputFile file_;
    std::vector<std::unique_ptr<atom_basic>> root_;
    atom_basic* free_ = nullptr;
    atom_basic* mdat_ = nullptr;
    std::unique_ptr<Mp4Track> video_;
    std::unique_ptr<Mp4Track> audio_;
    bool h264_ = true;
    uint32_t nextTrackId_ = 1;
    bool keySeen_ = false;
    uint64_t firstTimeUs_ = 0;
    uint64_t lastTimeUs_ = 0;
    DayChangeDetector dayChange_;
    G726Transcoder transcoder_;
};

}  // namespace kvplay::record
