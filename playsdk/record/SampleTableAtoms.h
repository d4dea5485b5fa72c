// The sample tables: times, key samples, chunk layout, sizes and chunk offsets.
#pragma once

#include <vector>

#include "Mp4Track.h"
#include "atom_basic.h"

namespace kvplay::record {

class atom_stts : public atom_basic {
public:
    explicit atom_stts(const Mp4Track& track) : atom_basic("stts"), track_(track) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    const Mp4Track& track_;
};

// Written only when some but not all samples are key samples.
class atom_stss : public atom_basic {
public:
    explicit atom_stss(const Mp4Track& track) : atom_basic("stss"), track_(track) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    const Mp4Track& track_;
};

class atom_stsc : public atom_basic {
public:
    explicit atom_stsc(const std::vector<Mp4Chunk>& chunks) : atom_basic("stsc"), chunks_(chunks) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    const std::vector<Mp4Chunk>& chunks_;
};

class atom_stsz : public atom_basic {
public:
    explicit atom_stsz(const Mp4Track& track) : atom_basic("stsz"), track_(track) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    const Mp4Track& track_;
};

// "stco", or "co64" when an offset does not fit 32 bits.
class atom_stco : public atom_basic {
public:
    explicit atom_stco(const std::vector<Mp4Chunk>& chunks);

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    const std::vector<Mp4Chunk>& chunks_;
    bool wide_;
};

}  // namespace kvplay::record
