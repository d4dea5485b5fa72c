// The top-level boxes: file type, movie, movie header, the free boxes and the media data header.
#pragma once

#include "atom_basic.h"

namespace kvplay::record {

class atom_ftyp : public atom_basic {
public:
    explicit atom_ftyp(bool h264) : atom_basic("ftyp"), h264_(h264) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    bool h264_;
};

class atom_moov : public atom_basic {
public:
    atom_moov() : atom_basic("moov") {}
};

class atom_mvhd : public atom_basic {
public:
    atom_mvhd(uint64_t durationMs, uint32_t nextTrackId)
        : atom_basic("mvhd"), durationMs_(durationMs), nextTrackId_(nextTrackId) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    uint64_t durationMs_;
    uint32_t nextTrackId_;
};

// An empty "free" box; the one before the media data leaves room for a 64-bit media data header.
class atom_free : public atom_basic {
public:
    atom_free() : atom_basic("free") {}
};

// The media data header alone: the samples are appended behind it as they arrive.
class atom_mdat : public atom_basic {
public:
    atom_mdat() : atom_basic("mdat") {}
};

// The unity transformation matrix of movie and track headers.
void writeUnityMatrix(ByteBuffer& out);
// Track units to milliseconds, rounded up.
uint64_t toMilliseconds(uint64_t units, uint32_t timescale);

}  // namespace kvplay::record
