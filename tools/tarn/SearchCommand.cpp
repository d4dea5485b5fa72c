#include "SearchCommand.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "QueryOptions.h"
#include "RecordTypes.h"
#include "RecordingSearch.h"
#include "SpanQueryCommand.h"

namespace tarn {
namespace {

std::string timeText(const rfs_time_t& t) {
    return rfs::formatTime(rfs::unpackTime(rfs::packTime(t)));
}

// Where the event's data lie: record_id is disk << 24 | partition << 16 | data file index.
struct DataPlace {
    unsigned disk;
    unsigned partition;
    unsigned file;
};

DataPlace placeOf(const rfs_event_t& e) {
    return {e.record_id >> 24, e.record_id >> 16 & 0xff, e.record_id & 0xffff};
}

void printJson(const std::vector<ChannelRecordings>& found) {
    nlohmann::json list = nlohmann::json::array();
    for (const ChannelRecordings& channel : found) {
        for (const rfs_event_t& e : channel.events) {
            const DataPlace place = placeOf(e);
            list.push_back({{"channel", channel.channel.number},
                            {"stream", streamName(channel.channel.stream)},
                            {"start", timeText(e.start)},
                            {"end", timeText(e.end)},
                            {"types", recordTypeNames(e.rec_type)},
                            {"mask", e.rec_type},
                            {"size", e.data_len},
                            {"disk", place.disk},
                            {"partition", place.partition},
                            {"file", place.file},
                            {"marked", e.marked != 0}});
        }
    }
    std::cout << list.dump(2) << "\n";
}

void printText(const std::vector<ChannelRecordings>& found, const rfs::CalendarTime& from,
               const rfs::CalendarTime& to) {
    char line[256];
    bool any = false;
    for (const ChannelRecordings& channel : found) {
        if (channel.events.empty())
            continue;
        const std::size_t n = channel.events.size();
        std::cout << (any ? "\n" : "") << "Channel " << channel.channel.number << ", "
                  << streamName(channel.channel.stream) << " stream: " << n << (n == 1 ? " recording" : " recordings")
                  << "\n";
        std::snprintf(line, sizeof line, "  %-19s  %-19s  %-16s %12s %5s %5s %5s  %s\n", "Start", "End", "Types",
                      "Size (bytes)", "Disk", "Part", "File", "Marked");
        std::cout << line;
        for (const rfs_event_t& e : channel.events) {
            const DataPlace place = placeOf(e);
            std::snprintf(line, sizeof line, "  %-19s  %-19s  %-16s %12u %5u %5u %5u  %s\n", timeText(e.start).c_str(),
                          timeText(e.end).c_str(), joinedRecordTypeNames(e.rec_type, ",").c_str(), e.data_len,
                          place.disk, place.partition, place.file, e.marked != 0 ? "yes" : "no");
            std::cout << line;
        }
        any = true;
    }
    if (!any)
        std::cout << "no recordings from " << rfs::formatTime(from) << " to " << rfs::formatTime(to) << "\n";
}

}  // namespace

void addSearchCommand(CLI::App& app, int& exitStatus) {
    addSpanQueryCommand(app, "search", "List the recordings of each channel that overlap a span of time", exitStatus,
                        [](const Query& query, const TimeSpan& span) {
                            const auto found = findRecordings(query, span.from, span.to);
                            if (query.json)
                                printJson(found);
                            else
                                printText(found, span.from, span.to);
                        });
}

}  // namespace tarn
