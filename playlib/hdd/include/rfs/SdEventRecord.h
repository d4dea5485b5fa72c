// An SD card's 64-byte event record and the 72-byte record of the hard-disk reader carry the same event;
// both directions of the conversion, for the SD reader and for its callers.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace rfs {

// The fields both records have, under the same names.
template <typename To, typename From>
To withCommonEventFields(const From& in) {
    To out{};
    out.handle = in.handle;
    out.slot = in.slot;
    out.invalid = in.invalid;
    out.index = in.index;
    out.record_id = in.record_id;
    out.rec_type = in.rec_type;
    out.chn = in.chn;
    out.norm = in.norm;
    out.res = in.res;
    out.pass = in.pass;
    out.marked = in.marked;
    out.start = in.start;
    out.end = in.end;
    out.data_start = in.data_start;
    out.data_len = in.data_len;
    out.kf_top = in.kf_top;
    out.kf_low = in.kf_low;
    out.thumbnail_offset = in.thumbnail_offset;
    return out;
}

inline rfs_sd_event_t toSdEvent(const rfs_event_t& event) {
    auto out = withCommonEventFields<rfs_sd_event_t>(event);
    out.event_idx = static_cast<uint8_t>(event.event_idx);
    return out;
}

inline rfs_event_t fromSdEvent(const rfs_sd_event_t& event) {
    auto out = withCommonEventFields<rfs_event_t>(event);
    out.event_idx = event.event_idx;
    return out;
}

}  // namespace rfs
