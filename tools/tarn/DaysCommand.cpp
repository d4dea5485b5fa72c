#include "DaysCommand.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "AttachedStore.h"
#include "Failure.h"
#include "QueryOptions.h"
#include "RecordTypes.h"
#include "RecordingSearch.h"

namespace tarn {
namespace {

rfs::CalendarTime parseMonth(const std::string& text) {
    const bool shaped = text.size() == 7 && text[4] == '-';
    const auto first = rfs::parseTime(text + "-01 00:00:00");
    if (!shaped || !first)
        throw Failure("--month takes a month of the form YYYY-MM (years 2000 to 2063), not \"" + text + "\"");
    return *first;
}

std::string monthText(const rfs::CalendarTime& month) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d", month.year, month.month);
    return text;
}

std::string dayText(const rfs::CalendarTime& month, int day) {
    char text[16];
    std::snprintf(text, sizeof text, "-%02d", day);
    return monthText(month) + text;
}

void printJson(const rfs::CalendarTime& month, const DayMasks& days) {
    nlohmann::json list = nlohmann::json::array();
    for (int d = 1; d <= static_cast<int>(days.size()); ++d)
        if (days[d - 1] != 0)
            list.push_back(
                {{"day", dayText(month, d)}, {"types", recordTypeNames(days[d - 1])}, {"mask", days[d - 1]}});
    std::cout << nlohmann::json{{"month", monthText(month)}, {"days", list}}.dump(2) << "\n";
}

void printText(const rfs::CalendarTime& month, const DayMasks& days) {
    bool any = false;
    for (int d = 1; d <= static_cast<int>(days.size()); ++d) {
        if (days[d - 1] == 0)
            continue;
        std::cout << dayText(month, d) << "  " << joinedRecordTypeNames(days[d - 1], " ") << "\n";
        any = true;
    }
    if (!any)
        std::cout << "no recordings in " << monthText(month) << "\n";
}

}  // namespace

void addDaysCommand(CLI::App& app, int& exitStatus) {
    auto* command = app.add_subcommand("days", "Show which days of a month hold recordings, and of which types");
    auto options = std::make_shared<QueryOptions>();
    auto month = std::make_shared<std::string>();
    addQueryOptions(*command, *options);
    command->add_option("--month", *month, "The month, YYYY-MM")->required();
    command->callback([options, month, &exitStatus] {
        runReportingFailure(exitStatus, [&] {
            const Query query = resolveQuery(*options);
            const rfs::CalendarTime first = parseMonth(*month);
            const AttachedStore store(query.store, query.sd);
            const DayMasks days = findRecordingDays(query, first);
            if (query.json)
                printJson(first, days);
            else
                printText(first, days);
        });
    });
}

}  // namespace tarn
