// Reads the movie box of an MP4 file into tracks with their samples' positions, sizes and times.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kvplay::record {

struct ParsedSample {
    uint64_t position = 0;
    uint32_t size = 0;
    uint64_t decodeTime = 0;  // track units
    bool key = true;
};

struct ParsedTrack {
    uint32_t trackId = 0;
    std::string handler;     // "vide", "soun", ...
    std::string entryType;   // "avc1", "hvc1", "mp4a", ...
    uint32_t timescale = 0;
    std::vector<ParsedSample> samples;
};

// The body of the first child box of the given type inside a box body; empty when there is none
// or when a box size runs past the end.
std::optional<std::span<const uint8_t>> childBox(std::span<const uint8_t> body, const char* type);

// The tracks of a moov box body; nullopt when a table is malformed or inconsistent.
std::optional<std::vector<ParsedTrack>> parseMovie(std::span<const uint8_t> moovBody);

}  // namespace kvplay::record
