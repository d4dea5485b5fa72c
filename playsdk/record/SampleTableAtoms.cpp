#include "SampleTableAtoms.h"

#include <limits>

namespace kvplay::record {

namespace {

bool needsWideOffsets(const std::vector<Mp4Chunk>& chunks) {
    return !chunks.empty() && chunks.back().offset > std::numeric_limits<uint32_t>::max();
}

// Table entry counts are 32-bit fields.
bool fitsCount(std::size_t count) { return count <= std::numeric_limits<uint32_t>::max(); }

}  // namespace

bool atom_stts::buildOwn(ByteBuffer& out) {
    fullHeader(out, "stts", 0, 0);
    const std::size_t countAt = out.size();
    out.u32(0);
    uint32_t runs = 0;
    const std::size_t samples = track_.samples().size();
    for (std::size_t i = 0; i < samples;) {
        const uint64_t delta = track_.sampleDelta(i);
        if (delta > std::numeric_limits<uint32_t>::max())
            return false;
        std::size_t end = i + 1;
        while (end < samples && track_.sampleDelta(end) == delta && end - i < std::numeric_limits<uint32_t>::max())
            ++end;
        out.u32(static_cast<uint32_t>(end - i));
        out.u32(static_cast<uint32_t>(delta));
        ++runs;
        i = end;
    }
    out.patch32(countAt, runs);
    return true;
}

bool atom_stss::buildOwn(ByteBuffer& out) {
    fullHeader(out, "stss", 0, 0);
    out.u32(track_.keyCount());
    const auto& samples = track_.samples();
    if (!fitsCount(samples.size()))
        return false;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (samples[i].key)
            out.u32(static_cast<uint32_t>(i + 1));
    return true;
}

bool atom_stsc::buildOwn(ByteBuffer& out) {
    fullHeader(out, "stsc", 0, 0);
    if (!fitsCount(chunks_.size()))
        return false;
    const std::size_t countAt = out.size();
    out.u32(0);
    uint32_t runs = 0;
    for (std::size_t i = 0; i < chunks_.size(); ++i) {
        if (i > 0 && chunks_[i].samples == chunks_[i - 1].samples)
            continue;
        out.u32(static_cast<uint32_t>(i + 1));
        out.u32(chunks_[i].samples);
        out.u32(1);
        ++runs;
    }
    out.patch32(countAt, runs);
    return true;
}

bool atom_stsz::buildOwn(ByteBuffer& out) {
    const auto& samples = track_.samples();
    if (!fitsCount(samples.size()))
        return false;
    fullHeader(out, "stsz", 0, 0);
    bool constant = !samples.empty() && samples.front().size > 0;
    for (const Mp4Sample& sample : samples)
        constant = constant && sample.size == samples.front().size;
    out.u32(constant ? samples.front().size : 0);
    out.u32(static_cast<uint32_t>(samples.size()));
    if (!constant)
        for (const Mp4Sample& sample : samples)
            out.u32(sample.size);
    return true;
}

atom_stco::atom_stco(const std::vector<Mp4Chunk>& chunks)
    : atom_basic(needsWideOffsets(chunks) ? "co64" : "stco"), chunks_(chunks), wide_(needsWideOffsets(chunks)) {}

bool atom_stco::buildOwn(ByteBuffer& out) {
    if (!fitsCount(chunks_.size()))
        return false;
    fullHeader(out, type(), 0, 0);
    out.u32(static_cast<uint32_t>(chunks_.size()));
    for (const Mp4Chunk& chunk : chunks_) {
        if (wide_)
            out.u64(chunk.offset);
        else
            out.u32(static_cast<uint32_t>(chunk.offset));
    }
    return true;
}

}  // namespace kvplay::record
