// `tarn days` and `tarn search` on the demo scenario's shape (its ten minutes shortened to one): four
// channels, channel 1 with its second stream, a motion event on channel 2, channel 3 cut into events,
// channel 4 with a normal and an io recording.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "ExpectedAnswers.h"
#include "ScenarioStores.h"
#include "TarnCommand.h"

namespace {

const std::string kFrom = "2026-12-01 00:00:00";
const std::string kTo = "2026-12-01 23:59:59";

CommandResult searchDemoDay(const std::vector<std::string>& extra) {
    std::vector<std::string> args{"search", shortDemoStore().path.string(), "--store-channels", "4"};
    args.insert(args.end(), {"--stream", "both", "--from", kFrom, "--to", kTo});
    args.insert(args.end(), extra.begin(), extra.end());
    return tarn(args);
}

}  // namespace

TEST(TarnDemo, DaysShowsTheOneDayWithAllThreeTypes) {
    const CommandResult r = tarn(
        {"days", shortDemoStore().path.string(), "--store-channels", "4", "--month", "2026-12", "--stream", "both"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "2026-12-01  normal motion io\n");
}

TEST(TarnDemo, SearchListsEachChannelsEventsWithTheirTypes) {
    const CommandResult r = searchDemoDay({"--json"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const auto events = nlohmann::json::parse(r.out);
    EXPECT_EQ(events, expectedSearch(shortDemoStore().manifest, {4, {}, kBoth, kAllTypes}, *rfs::parseTime(kFrom),
                                     *rfs::parseTime(kTo)));

    std::map<std::string, nlohmann::json> typesPerChannel;
    for (const auto& e : events)
        typesPerChannel[std::to_string(e["channel"].get<int>()) + " " + e["stream"].get<std::string>()].push_back(
            e["types"]);
    const nlohmann::json normal = {"normal"};
    const std::map<std::string, nlohmann::json> shape{
        {"1 main", nlohmann::json::array({normal})},
        {"1 sub", nlohmann::json::array({normal})},
        {"2 main", {normal, {"normal", "motion"}, normal}},
        {"3 main", {normal, normal, normal, normal, normal}},
        {"4 main", {normal, {"io"}}},
    };
    EXPECT_EQ(typesPerChannel, shape);
}

TEST(TarnDemo, SearchHeadsEachChannelsTableWithItsCount) {
    const CommandResult r = searchDemoDay({});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    std::vector<std::string> headings;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("Channel ", 0) == 0)
            headings.push_back(line);
    EXPECT_EQ(headings, (std::vector<std::string>{
                            "Channel 1, main stream: 1 recording",
                            "Channel 1, sub stream: 1 recording",
                            "Channel 2, main stream: 3 recordings",
                            "Channel 3, main stream: 5 recordings",
                            "Channel 4, main stream: 2 recordings",
                        }));
}
