// Pieces of scenarios and searches that the reader tests of both libraries build from.
#pragma once

#include <cstdint>
#include <vector>

#include "rfs/PackedTime.h"
#include "rfs/rfs_types.h"
#include "rfssim/Scenario.h"

// Tiny, fast video: the reader never decodes, it only needs real frame records.
inline rfssim::VideoSettings tinyVideo() {
    return {rfssim::VideoCodecKind::H264, 160, 96, 5, 10, 100'000};
}

inline rfssim::Recording recording(int channel, rfs::CalendarTime from, rfs::CalendarTime to,
                                   uint32_t types = rfs::RecNormal) {
    rfssim::Recording r;
    r.channel = channel;
    r.from = from;
    r.to = to;
    r.recTypes = types;
    return r;
}

inline rfs::CalendarTime at(int day, int hour, int minute, int second = 0, int month = 12, int year = 2026) {
    return rfs::CalendarTime{year, month, day, hour, minute, second};
}

// Search parameters over channels 0..channels-1 and a span; the record types default to all.
struct Search {
    rfs_find_param_t param{};
    std::vector<uint8_t> bits = std::vector<uint8_t>(32, 0);
    std::vector<uint32_t> integrated;

    Search(uint8_t type, rfs::CalendarTime from, rfs::CalendarTime to, int channels, int32_t recordType = -1) {
        param.search_type = type;
        param.record_type = recordType;
        param.chnCnt = channels;
        for (int c = 0; c < channels; ++c)
            bits[c / 8] |= static_cast<uint8_t>(1u << (c % 8));
        param.start = rfs::toRfsTime(rfs::packTime(from));
        param.end = rfs::toRfsTime(rfs::packTime(to));
    }

    rfs_find_param_t* get() {
        param.chnBit = bits.data();
        param.integratedRecType = integrated.empty() ? nullptr : integrated.data();
        param.integratedRecTypeCount = static_cast<int32_t>(integrated.size());
        return &param;
    }
};
