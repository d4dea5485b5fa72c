#include "FrameHeaderTable.h"

#include <algorithm>
#include <limits>

#include "ByteBuffer.h"

namespace kvplay::record {

std::vector<uint8_t> buildFrameHeaderTable(const std::vector<const Mp4Track*>& tracks, uint64_t filePosition) {
    ByteBuffer out;
    out.u32(0);
    out.fourcc("free");
    const std::size_t countAt = out.size();
    out.u32(0);
    out.u32(0);
    uint32_t records = 0;
    for (const Mp4Track* track : tracks) {
        if (track->samples().empty())
            continue;
        const auto& saved = track->savedHeaders();
        const uint64_t recordAt = filePosition + out.size();
        out.u32(track->trackId);
        out.u32(static_cast<uint32_t>(saved.size()));
        out.u32(static_cast<uint32_t>(saved.size() * kSavedHeaderSize));
        out.u32(0);
        out.u64(recordAt);
        for (const SavedHeader& header : saved)
            out.append(header);
        ++records;
    }
    if (out.size() > std::numeric_limits<uint32_t>::max())
        return {};
    out.patch32(countAt, records);
    out.patch32(0, static_cast<uint32_t>(out.size()));
    return std::move(out.bytes());
}

std::optional<std::vector<TrackHeaders>> parseFrameHeaderTable(std::span<const uint8_t> body) {
    ByteReader in(body);
    const uint32_t records = in.u32();
    in.u32();
    std::vector<TrackHeaders> tracks;
    for (uint32_t r = 0; r < records && in.ok(); ++r) {
        TrackHeaders track;
        track.trackId = in.u32();
        const uint32_t samples = in.u32();
        const uint32_t bytes = in.u32();
        in.u32();
        in.u64();
        if (uint64_t{samples} * kSavedHeaderSize != bytes || bytes > in.remaining())
            return std::nullopt;
        const auto table = in.bytes(bytes);
        track.headers.resize(samples);
        for (uint32_t i = 0; i < samples; ++i)
            std::copy_n(table.begin() + i * kSavedHeaderSize, kSavedHeaderSize, track.headers[i].begin());
        tracks.push_back(std::move(track));
    }
    if (!in.ok())
        return std::nullopt;
    return tracks;
}

}  // namespace kvplay::record
