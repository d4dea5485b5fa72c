// `tarn search` on stores written from scenarios: each channel's events in a span, as a table and as
// JSON, held against what the simulator wrote.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "ExpectedAnswers.h"
#include "ScenarioStores.h"
#include "TarnCommand.h"

namespace {

using rfssim::StoreLayout;

struct SearchCase {
    const char* name;
    std::string from;
    std::string to;
    std::vector<std::string> options;
    Selection selection;
};

const std::string kMonthsFrom = "2026-11-01 00:00:00";
const std::string kMonthsTo = "2026-12-31 23:59:59";

const SearchCase kCases[] = {
    {"MainStreamsByDefault", kMonthsFrom, kMonthsTo, {}, {3, {}, kMain, kAllTypes}},
    {"BothStreams", kMonthsFrom, kMonthsTo, {"--stream", "both"}, {3, {}, kBoth, kAllTypes}},
    {"SubStreamsOnly", kMonthsFrom, kMonthsTo, {"--stream", "sub"}, {3, {}, kSub, kAllTypes}},
    {"ChosenChannels",
     kMonthsFrom,
     kMonthsTo,
     {"--channels", "3,1", "--stream", "both"},
     {3, {1, 3}, kBoth, kAllTypes}},
    {"MotionOnly", kMonthsFrom, kMonthsTo, {"--types", "motion"}, {3, {}, kMain, rfs::RecMotion}},
    {"IoAndAHigherType",
     kMonthsFrom,
     kMonthsTo,
     {"--types", "io,type5", "--stream", "both"},
     {3, {}, kBoth, rfs::RecIo | 1u << 5}},
    {"AcrossMidnight", "2026-12-01 23:59:55", "2026-12-02 00:00:05", {}, {3, {}, kMain, kAllTypes}},
    {"OneSecond", "2026-12-01 09:00:15", "2026-12-01 09:00:15", {}, {3, {}, kMain, kAllTypes}},
};

// Reads the table back into the JSON form. The count in each channel's heading must match its rows.
nlohmann::json parseTable(const std::string& text) {
    nlohmann::json list = nlohmann::json::array();
    std::istringstream in(text);
    std::string line;
    int channel = 0;
    std::string stream;
    std::map<std::string, int> claimed;
    std::map<std::string, int> rows;
    while (std::getline(in, line)) {
        if (line.empty() || line.rfind("  Start ", 0) == 0)
            continue;
        char streamWord[8] = {};
        int count = 0;
        if (std::sscanf(line.c_str(), "Channel %d, %7s stream: %d", &channel, streamWord, &count) == 3) {
            stream = streamWord;
            claimed[std::to_string(channel) + stream] = count;
            continue;
        }
        std::istringstream row(line);
        std::string startDay, startTime, endDay, endTime, types, marked;
        uint64_t size = 0;
        int disk = -1, partition = -1, file = -1;
        row >> startDay >> startTime >> endDay >> endTime >> types >> size >> disk >> partition >> file >> marked;
        nlohmann::json names = nlohmann::json::array();
        for (std::size_t from = 0, comma = 0; comma != std::string::npos; from = comma + 1) {
            comma = types.find(',', from);
            names.push_back(types.substr(from, comma - from));
        }
        list.push_back({{"channel", channel},
                        {"stream", stream},
                        {"start", startDay + " " + startTime},
                        {"end", endDay + " " + endTime},
                        {"types", names},
                        {"size", size},
                        {"disk", disk},
                        {"partition", partition},
                        {"file", file},
                        {"marked", marked == "yes"}});
        ++rows[std::to_string(channel) + stream];
    }
    EXPECT_EQ(claimed, rows) << text;
    return list;
}

// The table shows no mask; the rest must match.
nlohmann::json withoutMasks(nlohmann::json list) {
    for (auto& event : list)
        event.erase("mask");
    return list;
}

class TarnSearch : public ::testing::TestWithParam<StoreLayout> {
protected:
    const ScenarioStore& store() const { return mixedStore(GetParam()); }

    CommandResult search(const std::string& from, const std::string& to, const std::vector<std::string>& options,
                         bool json) const {
        std::vector<std::string> args{"search", store().path.string(), "--store-channels", "3", "--from", from, "--to",
                                      to};
        args.insert(args.end(), options.begin(), options.end());
        if (json)
            args.push_back("--json");
        return tarn(args);
    }

    nlohmann::json expected(const SearchCase& c) const {
        return expectedSearch(store().manifest, c.selection, *rfs::parseTime(c.from), *rfs::parseTime(c.to));
    }
};

}  // namespace

TEST_P(TarnSearch, ListsTheSelectedEventsAsJson) {
    for (const SearchCase& c : kCases) {
        const nlohmann::json want = expected(c);
        ASSERT_FALSE(want.empty()) << c.name << " finds nothing and would prove little";
        const CommandResult r = search(c.from, c.to, c.options, true);
        ASSERT_EQ(r.exitStatus, 0) << c.name << ": " << r.err;
        EXPECT_EQ(r.err, "") << c.name;
        EXPECT_EQ(nlohmann::json::parse(r.out), want) << c.name;
    }
}

TEST_P(TarnSearch, ListsTheSelectedEventsAsATablePerChannel) {
    for (const SearchCase& c : kCases) {
        const CommandResult r = search(c.from, c.to, c.options, false);
        ASSERT_EQ(r.exitStatus, 0) << c.name << ": " << r.err;
        EXPECT_EQ(parseTable(r.out), withoutMasks(expected(c))) << c.name << "\n" << r.out;
    }
}

TEST_P(TarnSearch, NeverListsHiddenEventsAndShowsMarkedOnes) {
    const CommandResult r = search("2026-12-01 09:00:00", "2026-12-01 09:59:59", {"--channels", "2"}, true);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const auto events = nlohmann::json::parse(r.out);
    ASSERT_EQ(events.size(), 2u) << r.out;  // the third, hidden one starts at 09:00:30
    EXPECT_EQ(events[0]["marked"], false);
    EXPECT_EQ(events[1]["marked"], true);
    EXPECT_EQ(events[1]["types"], nlohmann::json({"normal", "motion"}));
}

TEST_P(TarnSearch, SaysSoWhenNothingIsRecordedInTheSpan) {
    const std::string from = "2026-12-03 00:00:00";
    const std::string to = "2026-12-04 23:59:59";
    const CommandResult text = search(from, to, {"--stream", "both"}, false);
    EXPECT_EQ(text.exitStatus, 0) << text.err;
    EXPECT_EQ(text.out, "no recordings from " + from + " to " + to + "\n");
    const CommandResult json = search(from, to, {"--stream", "both"}, true);
    EXPECT_EQ(json.exitStatus, 0) << json.err;
    EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::array());
}

INSTANTIATE_TEST_SUITE_P(Layouts, TarnSearch, ::testing::Values(StoreLayout::RawImage, StoreLayout::Directory),
                         [](const auto& info) { return info.param == StoreLayout::RawImage ? "Raw" : "Directory"; });
