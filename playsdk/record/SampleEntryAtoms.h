// The sample description: the sample table container, stsd, the video and audio sample entries and
// the decoder configurations they carry.
#pragma once

#include <vector>

#include "Mp4Track.h"
#include "atom_basic.h"

namespace kvplay::record {

class atom_stbl : public atom_basic {
public:
    atom_stbl() : atom_basic("stbl") {}
};

class atom_stsd : public atom_basic {
public:
    atom_stsd() : atom_basic("stsd") {}

protected:
    bool buildOwn(ByteBuffer& out) override;
};

// "avc1" or "hvc1".
class atom_video : public atom_basic {
public:
    atom_video(const Mp4Track& track, bool h264) : atom_basic(h264 ? "avc1" : "hvc1"), track_(track) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    const Mp4Track& track_;
};

class atom_audio : public atom_basic {
public:
    // The sample entry code of an audio codec number; four zero bytes for codecs without one.
    static const char* entryCode(uint8_t codec);

    explicit atom_audio(const Mp4Track& track) : atom_basic(entryCode(track.codec)), track_(track) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    const Mp4Track& track_;
};

// A box that holds a decoder configuration record built elsewhere.
class atom_config_record : public atom_basic {
public:
    atom_config_record(const char* type, std::vector<uint8_t> record) : atom_basic(type), record_(std::move(record)) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    std::vector<uint8_t> record_;
};

class atom_avcC : public atom_config_record {
public:
    explicit atom_avcC(std::vector<uint8_t> record) : atom_config_record("avcC", std::move(record)) {}
};

class atom_hvcC : public atom_config_record {
public:
    explicit atom_hvcC(std::vector<uint8_t> record) : atom_config_record("hvcC", std::move(record)) {}
};

class atom_esds : public atom_basic {
public:
    explicit atom_esds(const Mp4Track& track) : atom_basic("esds"), track_(track) {}

protected:
    bool buildOwn(ByteBuffer& out) override;

private:
    const Mp4Track& track_;
};

}  // namespace kvplay::record
