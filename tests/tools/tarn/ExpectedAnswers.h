// What `tarn days` and `tarn search` must answer, worked out from the manifest of what the simulator wrote.
#pragma once

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "rfs/PackedTime.h"
#include "rfssim/StoreManifest.h"

struct Selection {
    int storeChannels;              // the recorder's N
    std::set<int> channels;         // empty: every channel
    std::set<std::string> streams;  // "main", "sub"
    uint32_t types;
};

const std::set<std::string> kMain{"main"};
const std::set<std::string> kSub{"sub"};
const std::set<std::string> kBoth{"main", "sub"};
constexpr uint32_t kAllTypes = ~0u;

// The names tarn gives record type bits: normal, motion, io, then typeN.
nlohmann::json typeNames(uint32_t mask);

// The events tarn search --json lists: not hidden, overlapping [from, to], of a selected type and channel;
// by channel, main stream first, then by start.
nlohmann::json expectedSearch(const rfssim::StoreManifest& manifest, const Selection& selection,
                              const rfs::CalendarTime& from, const rfs::CalendarTime& to);

// Day of the month to the type bits of the selected events that start on it. A file's day bits cannot
// tell hidden events apart, so the scenarios keep hidden events on days that stay lit without them.
std::map<int, uint32_t> expectedDays(const rfssim::StoreManifest& manifest, const Selection& selection, int year,
                                     int month);
