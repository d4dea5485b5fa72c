// `tarn days` on stores written from scenarios: which days of a month hold which record types, as text
// and JSON, held against what the simulator wrote.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ExpectedAnswers.h"
#include "ScenarioStores.h"
#include "TarnCommand.h"

namespace {

using rfssim::StoreLayout;

struct DaysCase {
    const char* name;
    std::string month;
    std::vector<std::string> options;
    Selection selection;
};

const DaysCase kCases[] = {
    {"MainStreamsByDefault", "2026-12", {}, {3, {}, kMain, kAllTypes}},
    {"BothStreams", "2026-12", {"--stream", "both"}, {3, {}, kBoth, kAllTypes}},
    {"SubStreamsOnly", "2026-12", {"--stream", "sub"}, {3, {}, kSub, kAllTypes}},
    {"ChosenChannel", "2026-12", {"--channels", "2"}, {3, {2}, kMain, kAllTypes}},
    {"ChosenTypes",
     "2026-12",
     {"--types", "io,motion", "--stream", "both"},
     {3, {}, kBoth, rfs::RecIo | rfs::RecMotion}},
    {"HigherType", "2026-12", {"--types", "type5"}, {3, {}, kMain, 1u << 5}},
    {"MonthBefore", "2026-11", {"--stream", "both"}, {3, {}, kBoth, kAllTypes}},
    {"EmptyMonth", "2026-10", {}, {3, {}, kMain, kAllTypes}},
};

std::string dayText(const std::string& month, int day) {
    return month + (day < 10 ? "-0" : "-") + std::to_string(day);
}

std::string expectedText(const std::string& month, const std::map<int, uint32_t>& days) {
    if (days.empty())
        return "no recordings in " + month + "\n";
    std::string text;
    for (const auto& [day, mask] : days) {
        text += dayText(month, day) + " ";
        for (const auto& name : typeNames(mask))
            text += " " + name.get<std::string>();
        text += "\n";
    }
    return text;
}

nlohmann::json expectedJson(const std::string& month, const std::map<int, uint32_t>& days) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& [day, mask] : days)
        list.push_back({{"day", dayText(month, day)}, {"types", typeNames(mask)}, {"mask", mask}});
    return {{"month", month}, {"days", list}};
}

class TarnDays : public ::testing::TestWithParam<StoreLayout> {
protected:
    CommandResult days(const DaysCase& c, bool json) const {
        const ScenarioStore& store = mixedStore(GetParam());
        std::vector<std::string> args{"days", store.path.string(), "--store-channels", "3", "--month", c.month};
        args.insert(args.end(), c.options.begin(), c.options.end());
        if (json)
            args.push_back("--json");
        return tarn(args);
    }

    std::map<int, uint32_t> expected(const DaysCase& c) const {
        return expectedDays(mixedStore(GetParam()).manifest, c.selection, std::stoi(c.month.substr(0, 4)),
                            std::stoi(c.month.substr(5, 2)));
    }
};

}  // namespace

TEST_P(TarnDays, ListsTheDaysOfTheSelectedRecordingsAsText) {
    for (const DaysCase& c : kCases) {
        const CommandResult r = days(c, false);
        ASSERT_EQ(r.exitStatus, 0) << c.name << ": " << r.err;
        EXPECT_EQ(r.err, "") << c.name;
        EXPECT_EQ(r.out, expectedText(c.month, expected(c))) << c.name;
    }
}

TEST_P(TarnDays, ListsTheDaysOfTheSelectedRecordingsAsJson) {
    for (const DaysCase& c : kCases) {
        const CommandResult r = days(c, true);
        ASSERT_EQ(r.exitStatus, 0) << c.name << ": " << r.err;
        EXPECT_EQ(nlohmann::json::parse(r.out), expectedJson(c.month, expected(c))) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, TarnDays, ::testing::Values(StoreLayout::RawImage, StoreLayout::Directory),
                         [](const auto& info) { return info.param == StoreLayout::RawImage ? "Raw" : "Directory"; });
