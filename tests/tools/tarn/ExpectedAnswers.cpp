#include "ExpectedAnswers.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "rfs/IndexRecords.h"

namespace {

struct UserChannel {
    int number;
    std::string stream;
};

UserChannel userChannel(int storeChannel, int storeChannels) {
    return storeChannel < storeChannels ? UserChannel{storeChannel + 1, "main"}
                                        : UserChannel{storeChannel - storeChannels + 1, "sub"};
}

bool selected(const Selection& s, const UserChannel& c, uint32_t recType) {
    return (s.channels.empty() || s.channels.count(c.number) != 0) && s.streams.count(c.stream) != 0 &&
           (recType & s.types) != 0;
}

bool listed(const rfssim::WrittenEvent& e) {
    return e.magic == rfs::kEventMagic && e.flag != 1;
}

}  // namespace

nlohmann::json typeNames(uint32_t mask) {
    const char* named[] = {"normal", "motion", "io"};
    nlohmann::json names = nlohmann::json::array();
    for (int bit = 0; bit < 32; ++bit)
        if (mask >> bit & 1)
            names.push_back(bit < 3 ? std::string(named[bit]) : "type" + std::to_string(bit));
    return names;
}

nlohmann::json expectedSearch(const rfssim::StoreManifest& manifest, const Selection& selection,
                              const rfs::CalendarTime& from, const rfs::CalendarTime& to) {
    using Key = std::tuple<int, bool, rfs::PackedTime>;
    std::vector<std::pair<Key, nlohmann::json>> rows;
    for (const rfssim::WrittenFile& file : manifest.files) {
        const UserChannel channel = userChannel(file.storeChannel, selection.storeChannels);
        for (const rfssim::WrittenEvent& e : file.events) {
            const bool overlaps =
                rfs::packTime(e.start) <= rfs::packTime(to) && rfs::packTime(e.end) >= rfs::packTime(from);
            if (!listed(e) || !overlaps || !selected(selection, channel, e.recType))
                continue;
            rows.push_back({Key{channel.number, channel.stream == "sub", rfs::packTime(e.start)},
                            {{"channel", channel.number},
                             {"stream", channel.stream},
                             {"start", rfs::formatTime(e.start)},
                             {"end", rfs::formatTime(e.end)},
                             {"types", typeNames(e.recType)},
                             {"mask", e.recType},
                             {"size", e.dataLen},
                             {"disk", 0},
                             {"partition", file.partition},
                             {"file", file.fileIndex},
                             {"marked", e.flag == 2}}});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    nlohmann::json list = nlohmann::json::array();
    for (const auto& row : rows)
        list.push_back(row.second);
    return list;
}

std::map<int, uint32_t> expectedDays(const rfssim::StoreManifest& manifest, const Selection& selection, int year,
                                     int month) {
    std::map<int, uint32_t> days;
    for (const rfssim::WrittenFile& file : manifest.files) {
        const UserChannel channel = userChannel(file.storeChannel, selection.storeChannels);
        for (const rfssim::WrittenEvent& e : file.events)
            if (listed(e) && e.start.year == year && e.start.month == month && selected(selection, channel, e.recType))
                days[e.start.day] |= e.recType & selection.types;
    }
    return days;
}
