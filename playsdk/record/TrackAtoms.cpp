#include "TrackAtoms.h"

#include <string_view>

#include "MovieAtoms.h"

namespace kvplay::record {

namespace {
constexpr uint16_t kLanguageUnd = 0x55C4;  // "und", ISO 639-2/T packed
}

bool atom_tkhd::buildOwn(ByteBuffer& out) {
    const uint64_t durationMs = toMilliseconds(track_.duration(), track_.timescale);
    const bool wide = durationMs >= 0x7FFFFFFF;
    fullHeader(out, "tkhd", wide ? 1 : 0, 3);  // enabled, in movie
    if (wide) {
        out.u64(0);
        out.u64(0);
        out.u32(track_.trackId);
        out.u32(0);
        out.u64(durationMs);
    } else {
        out.u32(0);
        out.u32(0);
        out.u32(track_.trackId);
        out.u32(0);
        out.u32(static_cast<uint32_t>(durationMs));
    }
    out.zeros(8);
    out.u16(0);  // layer
    out.u16(0);  // alternate group
    out.u16(track_.kind == Mp4Track::Kind::Audio ? 0x0100 : 0);
    out.u16(0);
    writeUnityMatrix(out);
    out.u32(uint32_t{track_.width} << 16);
    out.u32(uint32_t{track_.height} << 16);
    return true;
}

bool atom_mdhd::buildOwn(ByteBuffer& out) {
    const uint64_t duration = track_.duration();
    const bool wide = duration >= 0x7FFFFFFF;
    fullHeader(out, "mdhd", wide ? 1 : 0, 0);
    if (wide) {
        out.u64(0);
        out.u64(0);
        out.u32(track_.timescale);
        out.u64(duration);
    } else {
        out.u32(0);
        out.u32(0);
        out.u32(track_.timescale);
        out.u32(static_cast<uint32_t>(duration));
    }
    out.u16(kLanguageUnd);
    out.u16(0);
    return true;
}

bool atom_hdlr::buildOwn(ByteBuffer& out) {
    const bool video = kind_ == Mp4Track::Kind::Video;
    fullHeader(out, "hdlr", 0, 0);
    out.u32(0);
    out.fourcc(video ? "vide" : "soun");
    out.zeros(12);
    const std::string_view name = video ? "VideoHandler" : "SoundHandler";
    out.append({reinterpret_cast<const uint8_t*>(name.data()), name.size()});
    out.u8(0);
    return true;
}

bool atom_vmhd::buildOwn(ByteBuffer& out) {
    fullHeader(out, "vmhd", 0, 1);
    out.zeros(8);  // graphics mode and colour
    return true;
}

bool atom_smhd::buildOwn(ByteBuffer& out) {
    fullHeader(out, "smhd", 0, 0);
    out.zeros(4);  // balance and reserved
    return true;
}

bool atom_dref::buildOwn(ByteBuffer& out) {
    fullHeader(out, "dref", 0, 0);
    out.u32(1);
    out.u32(12);
    out.fourcc("url ");
    out.u32(1);  // the data is in this file
    return true;
}

}  // namespace kvplay::record
