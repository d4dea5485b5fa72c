// `tarn days` and `tarn search` refuse what they cannot answer in one sentence with exit status 1:
// a path that holds no usable store, and mistyped times, months, channels, streams and types.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "ScenarioStores.h"
#include "TarnCommand.h"
#include "TempDir.h"
#include "TestStore.h"

namespace fs = std::filesystem;

namespace {

using Options = std::map<std::string, std::string>;

struct Refusal {
    const char* what;
    Options options;  // replace the command's sound ones
    const char* says;
};

CommandResult run(const std::string& command, const fs::path& store, Options options, const Options& changes) {
    for (const auto& [name, value] : changes)
        options[name] = value;
    std::vector<std::string> args{command, store.string()};
    for (const auto& [name, value] : options) {
        args.push_back(name);
        args.push_back(value);
    }
    return tarn(args);
}

const Refusal kSharedRefusals[] = {
    {"no channel count", {{"--store-channels", "0"}}, "--store-channels takes the recorder's number of channels"},
    {"too many channels", {{"--store-channels", "65"}}, "1 to 64"},
    {"channel count in words", {{"--store-channels", "three"}}, "not \"three\""},
    {"channel zero", {{"--channels", "0"}}, "channel 0 does not exist"},
    {"channel past the count", {{"--channels", "1,4"}}, "channel 4 does not exist: the recorder has channels 1 to 3"},
    {"empty list item", {{"--channels", "1,,2"}}, "--channels takes channel numbers separated by commas"},
    {"channel in words", {{"--channels", "one"}}, "not \"one\""},
    {"unknown stream", {{"--stream", "side"}}, "--stream takes main, sub or both"},
    {"unknown type", {{"--types", "normal,fire"}}, "\"fire\" is no record type"},
    {"type bit too high", {{"--types", "type32"}}, "\"type32\" is no record type"},
};

struct CommandRefusals {
    const char* command;
    Options soundOptions;
    std::vector<Refusal> own;  // besides the shared ones
};

const CommandRefusals kCommands[] = {
    {"days",
     {{"--store-channels", "3"}, {"--month", "2026-12"}},
     {
         {"month 13", {{"--month", "2026-13"}}, "--month takes a month of the form YYYY-MM"},
         {"one-digit month", {{"--month", "2026-1"}}, "not \"2026-1\""},
         {"a day", {{"--month", "2026-12-01"}}, "not \"2026-12-01\""},
     }},
    {"search",
     {{"--store-channels", "3"}, {"--from", "2026-12-01 00:00:00"}, {"--to", "2026-12-01 23:59:59"}},
     {
         {"hour 25", {{"--from", "2026-12-01 25:00:00"}}, "--from takes a time of the form"},
         {"no such date", {{"--to", "2026-02-30 00:00:00"}}, "--to takes a time of the form"},
         {"date only", {{"--from", "2026-12-01"}}, "not \"2026-12-01\""},
         {"year before 2000", {{"--from", "1999-12-31 23:59:59"}}, "years 2000 to 2063"},
         {"span backwards",
          {{"--from", "2026-12-02 00:00:00"}, {"--to", "2026-12-01 23:59:59"}},
          "the span is empty: --from 2026-12-02 00:00:00 lies after --to 2026-12-01 23:59:59"},
     }},
};

}  // namespace

TEST(TarnQueryRefusal, RefusesMistypedOptions) {
    const fs::path store = mixedStore(rfssim::StoreLayout::Directory).path;
    for (const CommandRefusals& command : kCommands) {
        std::vector<Refusal> refusals(std::begin(kSharedRefusals), std::end(kSharedRefusals));
        refusals.insert(refusals.end(), command.own.begin(), command.own.end());
        for (const Refusal& c : refusals) {
            const CommandResult r = run(command.command, store, command.soundOptions, c.options);
            EXPECT_TRUE(refusedInOneLine(r)) << command.command << ", " << c.what;
            EXPECT_NE(r.err.find(c.says), std::string::npos) << command.command << ", " << c.what << ": " << r.err;
        }
    }
}

TEST(TarnQueryRefusal, RefusesWhatHoldsNoUsableStore) {
    TempDir dir;
    std::ofstream(dir.path() / "short.img") << "tiny";
    fs::create_directory(dir.path() / "empty");
    const TestStore damaged = writeTestStore(dir.path(), StoreLayout::RawImage);
    rfs::disk_param_t param = damaged.param();
    param.total_size ^= 1;
    damaged.setParam(param, false);

    const std::pair<fs::path, const char*> stores[] = {
        {dir.path() / "missing", "cannot be opened"},
        {dir.path() / "empty", "holds no readable rfs index file"},
        {dir.path() / "short.img", "holds no rfs parameter block"},
        {damaged.path, "check sum mismatch"},
    };
    for (const CommandRefusals& command : kCommands) {
        for (const auto& [path, says] : stores) {
            const CommandResult r = run(command.command, path, command.soundOptions, {});
            EXPECT_TRUE(refusedInOneLine(r)) << command.command << " " << path;
            EXPECT_NE(r.err.find(says), std::string::npos) << command.command << " " << path << ": " << r.err;
        }
    }
}
