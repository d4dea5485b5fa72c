#include "PicturesCommand.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "PictureList.h"
#include "QueryOptions.h"
#include "RecordTypes.h"
#include "SpanQueryCommand.h"

namespace tarn {
namespace {

std::string timeText(const rfs_time_t& t) {
    return rfs::formatTime(rfs::unpackTime(rfs::packTime(t)));
}

std::string limitNote() {
    return "the list stops at the reader's limit of " + std::to_string(PictureList::kReaderLimit) +
           " pictures, the earliest: later pictures of the span may be left out; narrow the span to see them";
}

void printJson(const PictureList& found) {
    nlohmann::json list = nlohmann::json::array();
    std::size_t number = 0;
    for (const FoundPicture& f : found.pictures())
        list.push_back({{"number", ++number},
                        {"time", timeText(f.picture.time)},
                        {"channel", f.channel.number},
                        {"stream", streamName(f.channel.stream)},
                        {"types", recordTypeNames(f.picture.rec_type)},
                        {"mask", f.picture.rec_type},
                        {"size", f.picture.length}});
    const nlohmann::json answer = {{"pictures", list}, {"at_reader_limit", found.atReaderLimit()}};
    std::cout << answer.dump(2) << "\n";
}

void printText(const PictureList& found, const TimeSpan& span) {
    if (found.pictures().empty()) {
        std::cout << "no pictures from " << rfs::formatTime(span.from) << " to " << rfs::formatTime(span.to) << "\n";
        return;
    }
    char line[160];
    std::snprintf(line, sizeof line, "%6s  %-19s  %7s  %-6s  %-16s %12s\n", "Number", "Time", "Channel", "Stream",
                  "Types", "Size (bytes)");
    std::cout << line;
    std::size_t number = 0;
    for (const FoundPicture& f : found.pictures()) {
        std::snprintf(line, sizeof line, "%6zu  %-19s  %7d  %-6s  %-16s %12u\n", ++number,
                      timeText(f.picture.time).c_str(), f.channel.number, streamName(f.channel.stream),
                      joinedRecordTypeNames(f.picture.rec_type, ",").c_str(), f.picture.length);
        std::cout << line;
    }
    if (found.atReaderLimit())
        std::cout << limitNote() << "\n";
}

}  // namespace

void addPicturesCommand(CLI::App& app, int& exitStatus) {
    addSpanQueryCommand(app, "pictures", "List the pictures (snapshots) of a span of time by time", exitStatus,
                        [](const Query& query, const TimeSpan& span) {
                            const PictureList found(query, span.from, span.to);
                            if (query.json)
                                printJson(found);
                            else
                                printText(found, span);
                        });
}

}  // namespace tarn
