#include "MovieAtoms.h"

namespace kvplay::record {

bool atom_ftyp::buildOwn(ByteBuffer& out) {
    header(out, "ftyp");
    out.fourcc("isom");
    out.u32(512);
    out.fourcc("isom");
    out.fourcc("iso2");
    if (h264_)
        out.fourcc("avc1");
    out.fourcc("mp41");
    return true;
}

void writeUnityMatrix(ByteBuffer& out) {
    for (uint32_t value : {0x00010000u, 0u, 0u, 0u, 0x00010000u, 0u, 0u, 0u, 0x40000000u})
        out.u32(value);
}

uint64_t toMilliseconds(uint64_t units, uint32_t timescale) {
    if (timescale == 0)
        return 0;
    return units / timescale * 1000 + (units % timescale * 1000 + timescale - 1) / timescale;
}

bool atom_mvhd::buildOwn(ByteBuffer& out) {
    const bool wide = durationMs_ >= 0xFFFFFFFFu;
    fullHeader(out, "mvhd", wide ? 1 : 0, 0);
    if (wide) {
        out.u64(0);
        out.u64(0);
        out.u32(1000);
        out.u64(durationMs_);
    } else {
        out.u32(0);
        out.u32(0);
        out.u32(1000);
        out.u32(static_cast<uint32_t>(durationMs_));
    }
    out.u32(0x00010000);  // rate 1.0
    out.u16(0x0100);      // volume 1.0
    out.zeros(10);
    writeUnityMatrix(out);
    out.zeros(24);
    out.u32(nextTrackId_);
    return true;
}

}  // namespace kvplay::record
