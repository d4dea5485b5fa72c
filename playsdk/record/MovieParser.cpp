#include "MovieParser.h"

#include <array>
#include <cstring>

#include "ByteBuffer.h"

namespace kvplay::record {

namespace {

// Table entry counts come from the file: a count is accepted only when its entries fit the box.
bool countFits(const ByteReader& in, uint64_t count, std::size_t entrySize) {
    return in.ok() && count <= in.remaining() / entrySize;
}

struct SampleTables {
    std::vector<std::pair<uint32_t, uint32_t>> timeRuns;  // count, delta
    std::vector<uint32_t> sizes;
    std::vector<uint64_t> chunkOffsets;
    std::vector<std::array<uint32_t, 2>> chunkRuns;  // first chunk, samples per chunk
    std::optional<std::vector<uint32_t>> syncSamples;
};

bool readTimes(std::span<const uint8_t> body, SampleTables& tables) {
    ByteReader in(body);
    in.u32();
    const uint32_t count = in.u32();
    if (!countFits(in, count, 8))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t samples = in.u32();
        tables.timeRuns.emplace_back(samples, in.u32());
    }
    return in.ok();
}

bool readSizes(std::span<const uint8_t> body, SampleTables& tables) {
    ByteReader in(body);
    in.u32();
    const uint32_t constant = in.u32();
    const uint32_t count = in.u32();
    if (constant != 0) {
        if (!in.ok() || count > (64u << 20))  // far beyond any recording; refuse to allocate
            return false;
        tables.sizes.assign(count, constant);
        return true;
    }
    if (!countFits(in, count, 4))
        return false;
    for (uint32_t i = 0; i < count; ++i)
        tables.sizes.push_back(in.u32());
    return in.ok();
}

bool readOffsets(std::span<const uint8_t> body, bool wide, SampleTables& tables) {
    ByteReader in(body);
    in.u32();
    const uint32_t count = in.u32();
    if (!countFits(in, count, wide ? 8 : 4))
        return false;
    for (uint32_t i = 0; i < count; ++i)
        tables.chunkOffsets.push_back(wide ? in.u64() : in.u32());
    return in.ok();
}

bool readChunkRuns(std::span<const uint8_t> body, SampleTables& tables) {
    ByteReader in(body);
    in.u32();
    const uint32_t count = in.u32();
    if (!countFits(in, count, 12))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t first = in.u32();
        const uint32_t samples = in.u32();
        in.u32();
        if (first == 0 || (i > 0 && first <= tables.chunkRuns.back()[0]))
            return false;
        tables.chunkRuns.push_back({first, samples});
    }
    return in.ok();
}

bool readSyncSamples(std::span<const uint8_t> body, SampleTables& tables) {
    ByteReader in(body);
    in.u32();
    const uint32_t count = in.u32();
    if (!countFits(in, count, 4))
        return false;
    tables.syncSamples.emplace();
    for (uint32_t i = 0; i < count; ++i)
        tables.syncSamples->push_back(in.u32());
    return in.ok();
}

// Places every sample: chunk by chunk, each sample right after the one before in its chunk.
std::optional<std::vector<ParsedSample>> layOutSamples(const SampleTables& tables) {
    std::vector<ParsedSample> samples(tables.sizes.size());
    std::size_t next = 0;
    for (std::size_t run = 0; run < tables.chunkRuns.size(); ++run) {
        const uint64_t lastChunk =
            run + 1 < tables.chunkRuns.size() ? tables.chunkRuns[run + 1][0] - 1 : tables.chunkOffsets.size();
        for (uint64_t chunk = tables.chunkRuns[run][0]; chunk <= lastChunk; ++chunk) {
            if (chunk > tables.chunkOffsets.size())
                return std::nullopt;
            uint64_t position = tables.chunkOffsets[chunk - 1];
            for (uint32_t s = 0; s < tables.chunkRuns[run][1]; ++s) {
                if (next >= samples.size())
                    return std::nullopt;
                samples[next].position = position;
                samples[next].size = tables.sizes[next];
                position += tables.sizes[next];
                ++next;
            }
        }
    }
    if (next != samples.size())
        return std::nullopt;
    uint64_t time = 0;
    std::size_t index = 0;
    for (const auto& [count, delta] : tables.timeRuns)
        for (uint32_t i = 0; i < count && index < samples.size(); ++i, time += delta)
            samples[index++].decodeTime = time;
    if (tables.syncSamples) {
        for (ParsedSample& sample : samples)
            sample.key = false;
        for (uint32_t number : *tables.syncSamples)
            if (number >= 1 && number <= samples.size())
                samples[number - 1].key = true;
    }
    return samples;
}

std::optional<ParsedTrack> parseTrack(std::span<const uint8_t> trak) {
    ParsedTrack track;
    const auto tkhd = childBox(trak, "tkhd");
    const auto mdia = childBox(trak, "mdia");
    if (!tkhd || !mdia || tkhd->empty())
        return std::nullopt;
    ByteReader header(*tkhd);
    header.skip((*tkhd)[0] == 1 ? 20 : 12);
    track.trackId = header.u32();
    const auto mdhd = childBox(*mdia, "mdhd");
    const auto hdlr = childBox(*mdia, "hdlr");
    const auto minf = childBox(*mdia, "minf");
    if (!header.ok() || !mdhd || !hdlr || !minf || mdhd->empty() || hdlr->size() < 12)
        return std::nullopt;
    ByteReader media(*mdhd);
    media.skip((*mdhd)[0] == 1 ? 20 : 12);
    track.timescale = media.u32();
    track.handler.assign(reinterpret_cast<const char*>(hdlr->data() + 8), 4);
    const auto stbl = childBox(*minf, "stbl");
    if (!media.ok() || !stbl)
        return std::nullopt;
    const auto stsd = childBox(*stbl, "stsd");
    if (!stsd || stsd->size() < 16)
        return std::nullopt;
    track.entryType.assign(reinterpret_cast<const char*>(stsd->data() + 12), 4);

    SampleTables tables;
    const auto stts = childBox(*stbl, "stts");
    const auto stsz = childBox(*stbl, "stsz");
    const auto stsc = childBox(*stbl, "stsc");
    const auto stco = childBox(*stbl, "stco");
    const auto co64 = childBox(*stbl, "co64");
    const auto stss = childBox(*stbl, "stss");
    if (!stts || !stsz || !stsc || !(stco || co64) || !readTimes(*stts, tables) || !readSizes(*stsz, tables) ||
        !readChunkRuns(*stsc, tables) || !readOffsets(stco ? *stco : *co64, !stco, tables) ||
        (stss && !readSyncSamples(*stss, tables)))
        return std::nullopt;
    auto samples = layOutSamples(tables);
    if (!samples)
        return std::nullopt;
    track.samples = std::move(*samples);
    return track;
}

}  // namespace

std::optional<std::span<const uint8_t>> childBox(std::span<const uint8_t> body, const char* type) {
    for (std::size_t at = 0; at + 8 <= body.size();) {
        uint64_t size = readBe32(&body[at]);
        std::size_t header = 8;
        if (size == 1) {
            if (at + 16 > body.size())
                return std::nullopt;
            size = readBe64(&body[at + 8]);
            header = 16;
        } else if (size == 0) {
            size = body.size() - at;
        }
        if (size < header || size > body.size() - at)
            return std::nullopt;
        if (std::memcmp(&body[at + 4], type, 4) == 0)
            return body.subspan(at + header, size - header);
        at += size;
    }
    return std::nullopt;
}

std::optional<std::vector<ParsedTrack>> parseMovie(std::span<const uint8_t> moovBody) {
    std::vector<ParsedTrack> tracks;
    for (std::size_t at = 0; at + 8 <= moovBody.size();) {
        const uint32_t size = readBe32(&moovBody[at]);
        if (size < 8 || size > moovBody.size() - at)
            return std::nullopt;
        if (std::memcmp(&moovBody[at + 4], "trak", 4) == 0) {
            auto track = parseTrack(moovBody.subspan(at + 8, size - 8));
            if (!track)
                return std::nullopt;
            tracks.push_back(std::move(*track));
        }
        at += size;
    }
    return tracks;
}

}  // namespace kvplay::record
