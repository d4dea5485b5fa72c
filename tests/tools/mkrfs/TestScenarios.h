// Small scenarios that encode in moments: tiny pictures at a low frame rate.
#pragma once

#include <stdexcept>
#include <string>

#include "rfs/PackedTime.h"
#include "rfssim/Scenario.h"

inline rfs::CalendarTime at(const std::string& text) {
    const auto time = rfs::parseTime(text);
    if (!time)
        throw std::invalid_argument("not a time: " + text);
    return *time;
}

inline rfssim::VideoSettings tinyVideo(rfssim::VideoCodecKind codec = rfssim::VideoCodecKind::H264, int width = 160,
                                       int height = 90) {
    return rfssim::VideoSettings{codec, width, height, 5, 10, 100'000};
}

inline rfssim::Recording recording(int channel, rfssim::StreamKind stream, const std::string& from,
                                   const std::string& to) {
    rfssim::Recording r;
    r.channel = channel;
    r.stream = stream;
    r.from = at(from);
    r.to = at(to);
    return r;
}
