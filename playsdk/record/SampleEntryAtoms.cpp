#include "SampleEntryAtoms.h"

#include "Adts.h"

namespace kvplay::record {

namespace {

// Descriptor tag and its length in the four-byte form, so every length is written the same way.
void descriptor(ByteBuffer& out, uint8_t tag, uint8_t length) {
    out.u8(tag);
    out.u8(0x80);
    out.u8(0x80);
    out.u8(0x80);
    out.u8(length);
}

}  // namespace

const char* atom_audio::entryCode(uint8_t codec) {
    switch (codec) {
    case 0: return "ms\x00\x01";
    case 1: return "alaw";
    case 2: return "ulaw";
    case 3: return "ms\x00\x61";
    case 10: return "mp4a";
    default: return "\0\0\0\0";
    }
}

bool atom_stsd::buildOwn(ByteBuffer& out) {
    fullHeader(out, "stsd", 0, 0);
    out.u32(1);
    return true;
}

bool atom_video::buildOwn(ByteBuffer& out) {
    header(out, type());
    out.zeros(6);
    out.u16(1);  // data reference index
    out.zeros(16);
    out.u16(track_.width);
    out.u16(track_.height);
    out.u32(0x00480000);  // 72 dpi
    out.u32(0x00480000);
    out.u32(0);
    out.u16(1);  // one frame per sample
    out.zeros(32);
    out.u16(0x0018);
    out.u16(0xFFFF);
    return true;
}

bool atom_audio::buildOwn(ByteBuffer& out) {
    header(out, type());
    out.zeros(6);
    out.u16(1);  // data reference index
    out.u16(0);  // version 0: no further fields follow, whatever the codec
    out.u16(0);  // revision
    out.u32(0);  // vendor
    out.u16(track_.channels);
    out.u16(track_.sampleSize);
    out.u16(0);  // compression id
    out.u16(0);  // packet size
    out.u32(track_.timescale < 65536 ? track_.timescale << 16 : 0);
    return true;
}

bool atom_config_record::buildOwn(ByteBuffer& out) {
    header(out, type());
    out.append(record_);
    return true;
}

bool atom_esds::buildOwn(ByteBuffer& out) {
    std::optional<std::array<uint8_t, 2>> config;
    if (const auto adts = readAdtsHeader(track_.keptFrame))
        config = audioSpecificConfig(*adts);
    constexpr uint8_t kDescriptorHeader = 5;
    const uint8_t decoderInfoSize = config ? kDescriptorHeader + 2 : 0;
    const uint8_t decoderConfigLength = 13 + decoderInfoSize;
    const uint8_t slConfigSize = kDescriptorHeader + 1;
    const uint8_t esLength = 3 + kDescriptorHeader + decoderConfigLength + slConfigSize;

    fullHeader(out, "esds", 0, 0);
    descriptor(out, 3, esLength);
    out.u16(static_cast<uint16_t>(track_.trackId));
    out.u8(0);
    descriptor(out, 4, decoderConfigLength);
    out.u8(0x40);  // MPEG-4 audio
    out.u8(0x15);  // audio stream
    out.u24(0);    // buffer size
    out.u32(0);    // maximum bit rate
    out.u32(0);    // average bit rate
    if (config) {
        descriptor(out, 5, 2);
        out.append(*config);
    }
    descriptor(out, 6, 1);
    out.u8(2);
    return true;
}

}  // namespace kvplay::record
