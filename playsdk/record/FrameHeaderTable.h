// The trailing "free" box that keeps the first 48 bytes of every frame record, per track, so our
// reader can give the records back as they were written.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "Mp4Track.h"

namespace kvplay::record {

constexpr std::size_t kTableHeaderSize = 16;
constexpr std::size_t kTableRecordSize = 24;

// The table for the tracks that have samples, placed at filePosition; empty when it would not
// fit a 32-bit box size.
std::vector<uint8_t> buildFrameHeaderTable(const std::vector<const Mp4Track*>& tracks, uint64_t filePosition);

struct TrackHeaders {
    uint32_t trackId = 0;
    std::vector<SavedHeader> headers;
};

// The tracks of a table box's contents (after its 8-byte box header); nullopt when malformed.
std::optional<std::vector<TrackHeaders>> parseFrameHeaderTable(std::span<const uint8_t> body);

}  // namespace kvplay::record
