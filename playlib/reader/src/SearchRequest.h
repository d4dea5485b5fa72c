// The caller's search parameters, checked and read once: time span, channel bits, record types.
#pragma once

#include <cstdint>

#include "rfs/PackedTime.h"
#include "rfs/rfs_types.h"

namespace kvrfs {

class SearchRequest {
public:
    explicit SearchRequest(const rfs_find_param_t& param)
        : param_(param), from_(rfs::packTime(param.start)), to_(rfs::packTime(param.end)) {}

    const rfs_find_param_t& param() const { return param_; }
    rfs::PackedTime from() const { return from_; }
    rfs::PackedTime to() const { return to_; }

    // A reversed span matches nothing.
    bool overlaps(rfs::PackedTime start, rfs::PackedTime end) const {
        return from_ <= to_ && start <= to_ && end >= from_;
    }

    bool channelSelected(int chn) const {
        return chn >= 0 && chn < param_.chnCnt && param_.chnBit != nullptr &&
               (param_.chnBit[chn / 8] >> (chn % 8) & 1) != 0;
    }

    // The mask, or failing that the first integrated type whose bits are all present.
    bool recordTypeMatches(uint32_t recType) const {
        if ((recType & static_cast<uint32_t>(param_.record_type)) != 0)
            return true;
        if (param_.integratedRecType == nullptr)
            return false;
        for (int j = 0; j < param_.integratedRecTypeCount; ++j)
            if ((param_.integratedRecType[j] & recType) == param_.integratedRecType[j])
                return true;
        return false;
    }

private:
    const rfs_find_param_t& param_;
    rfs::PackedTime from_;
    rfs::PackedTime to_;
};

}  // namespace kvrfs
