// The boxes that describe a track and its media, down to the data reference.
#pragma once

#include "Mp4Track.h"
#include "atom_basic.h"

namespace kvplay::record {

class atom_trak : public atom_basic {
public:
    atom_trak() : atom_basic("trak") {}
};

class atom_tkhd : public atom_basic {
public:
    explicit atom_tkhd(const Mp4Track& track) : atom_basic("tkhd"), track_(track) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    const Mp4Track& track_;
};

class atom_mdia : public atom_basic {
public:
    atom_mdia() : atom_basic("mdia") {}
};

class atom_mdhd : public atom_basic {
public:
    explicit atom_mdhd(const Mp4Track& track) : atom_basic("mdhd"), track_(track) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    const Mp4Track& track_;
};

class atom_hdlr : public atom_basic {
public:
    explicit atom_hdlr(Mp4Track::Kind kind) : atom_basic("hdlr"), kind_(kind) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    Mp4Track::Kind kind_;
};

class atom_minf : public atom_basic {
public:
    atom_minf() : atom_basic("minf") {}
};

class atom_vmhd : public atom_basic {
public:
    atom_vmhd() : atom_basic("vmhd") {}

protected:
    bool buildOwn(ByteBuffer& out) override;
};

class atom_smhd : public atom_basic {
public:
    atom_smhd() : atom_basic("smhd") {}

protected:
    bool buildOwn(ByteBuffer& out) override;
};

class atom_dinf : public atom_basic {
public:
    atom_dinf() : atom_basic("dinf") {}
};

class atom_dref : public atom_basic {
public:
    atom_dref() : atom_basic("dref") {}

protected:
    bool buildOwn(ByteBuffer& out) override;
};

}  // namespace kvplay::record
