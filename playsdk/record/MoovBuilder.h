// Assembles the movie box tree for the tracks written.
#pragma once

#include <memory>
#include <vector>

#include "MovieAtoms.h"
#include "Mp4Track.h"

namespace kvplay::record {

// Tracks with their chunk layout; the chunks must outlive the tree, whose boxes refer to them.
struct TrackLayout {
    const Mp4Track* track;
    std::vector<Mp4Chunk> chunks;
};

std::unique_ptr<atom_moov> buildMoov(const std::vector<TrackLayout>& tracks, bool h264, uint32_t nextTrackId);

}  // namespace kvplay::record
