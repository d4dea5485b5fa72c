#include "LabelsCommand.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "AttachedStore.h"
#include "ChannelSelection.h"
#include "Failure.h"
#include "KVPlayHDD.h"
#include "TimeSpan.h"

namespace tarn {
namespace {

void requireLabelArea(const AttachedStore& store, const std::string& path) {
    if (store.sdCard())
        throw Failure(path + " is an SD card's store: SD cards keep no labels");
}

constexpr int kStoreChannels = 256;
constexpr uint8_t kMergedList = 2;
constexpr int32_t kNoLabelArea = -34;
enum LabelOperation { Add = 0, Delete = 1, Rename = 2 };
constexpr std::size_t kMaxNameLength = 43;

struct ListOptions {
    std::string store;
    std::string storeChannels;
    std::string channels;
    std::string stream = "both";
    TimeSpanOptions span;
    std::string text;
    bool json = false;
};

struct FoundLabel {
    rfs_label_t label;
    Channel channel;
};

std::string timeText(const rfs_time_t& t) {
    return rfs::formatTime(rfs::unpackTime(rfs::packTime(t)));
}

// Every label of the chosen channels in the span, by time; the reader keeps them in one merged list.
std::vector<FoundLabel> findLabels(const ListOptions& options, const ChannelLayout& layout,
                                   const std::vector<Channel>& channels, const TimeSpan& span) {
    std::array<uint8_t, kStoreChannels / 8> bits{};
    for (const Channel& c : channels) {
        const int store = layout.storeChannel(c);
        bits[store / 8] |= static_cast<uint8_t>(1u << store % 8);
    }
    rfs_find_param_t param{};
    param.search_type = kMergedList;
    param.chnCnt = kStoreChannels;
    param.chnBit = bits.data();
    param.start = rfs::toRfsTime(rfs::packTime(span.from));
    param.end = rfs::toRfsTime(rfs::packTime(span.to));
    if (rfs_find_label_start(&param, options.text.c_str()) != 0)
        throw Failure("the labels of " + options.store + " cannot be read");
    rfs_label_list_t list{};
    rfs_get_label(0, &list);
    std::vector<FoundLabel> found;
    for (int i = 0; i < list.count; ++i)
        found.push_back({list.list[i], layout.channelAt(list.list[i].chn)});
    rfs_find_label_stop();
    return found;
}

void printLabels(const std::vector<FoundLabel>& found, const ListOptions& options, const TimeSpan& span) {
    if (options.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const FoundLabel& f : found)
            list.push_back({{"number", f.label.number},
                            {"time", timeText(f.label.time)},
                            {"channel", f.channel.number},
                            {"stream", streamName(f.channel.stream)},
                            {"name", f.label.name},
                            {"value", f.label.value}});
        std::cout << list.dump(2) << "\n";
        return;
    }
    if (found.empty()) {
        std::cout << "no labels from " << rfs::formatTime(span.from) << " to " << rfs::formatTime(span.to) << "\n";
        return;
    }
    char line[160];
    std::snprintf(line, sizeof line, "%6s  %-19s  %7s  %-6s  %s\n", "Number", "Time", "Channel", "Stream", "Name");
    std::cout << line;
    for (const FoundLabel& f : found) {
        std::snprintf(line, sizeof line, "%6u  %-19s  %7d  %-6s  %s\n", f.label.number, timeText(f.label.time).c_str(),
                      f.channel.number, streamName(f.channel.stream), f.label.name);
        std::cout << line;
    }
}

void listLabels(const ListOptions& options) {
    const ChannelLayout layout = parseChannelLayout(options.storeChannels);
    const std::vector<Channel> channels = selectChannels(layout, options.channels, options.stream);
    const TimeSpan span = resolveTimeSpan(options.span);
    const AttachedStore store(options.store, false);
    requireLabelArea(store, options.store);
    printLabels(findLabels(options, layout, channels, span), options, span);
}

std::string checkedName(const std::string& name) {
    if (name.size() > kMaxNameLength)
        throw Failure("--name holds at most 43 characters, not " + std::to_string(name.size()));
    return name;
}

int32_t labelNumber(const std::string& text) {
    int32_t number = -1;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, number);
    if (text.empty() || error != std::errc{} || end != last || number < 0 || number >= 32768)
        throw Failure("--number takes a label number from 0 to 32767, not \"" + text + "\"");
    return number;
}

// The reader's answer to a change, as a sentence.
int32_t checkedChange(int32_t result, const std::string& store, const std::string& failed) {
    if (result == kNoLabelArea)
        throw Failure(store + " has no label area: its recorder keeps no labels");
    if (result < 0)
        throw Failure(failed);
    return result;
}

struct ChangeOptions {
    std::string store;
    std::string channel;
    std::string stream = "main";
    std::string storeChannels;
    std::string time;
    std::string name;
    std::string number;
};

void addLabel(const ChangeOptions& options) {
    const ChosenChannel chosen = chooseOneChannel(options.channel, options.stream, options.storeChannels);
    const auto time = rfs::parseTime(options.time);
    if (!time)
        throw Failure("--time takes a time of the form \"YYYY-MM-DD HH:MM:SS\" (years 2000 to 2063), not \"" +
                      options.time + "\"");
    const std::string name = checkedName(options.name);
    const AttachedStore store(options.store, false);
    requireLabelArea(store, options.store);
    rfs_label_request_t request{};
    request.chn = static_cast<uint8_t>(chosen.storeChannel);
    request.time = rfs::toRfsTime(rfs::packTime(*time));
    request.name = name.c_str();
    const int32_t added = checkedChange(rfs_set_label(Add, &request), options.store,
                                        "the label cannot be added: " + options.store + " cannot be written");
    std::cout << "added label " << (added & 0xffffff) << " at " << rfs::formatTime(*time) << " on "
              << channelText(chosen.channel) << ": " << name << "\n";
}

void changeLabel(const ChangeOptions& options, LabelOperation operation) {
    const int32_t number = labelNumber(options.number);
    const std::string name = operation == Rename ? checkedName(options.name) : std::string();
    const AttachedStore store(options.store, false);
    requireLabelArea(store, options.store);
    rfs_label_request_t request{};
    request.number = number;
    request.name = name.c_str();
    const char* verb = operation == Rename ? "renamed" : "deleted";
    checkedChange(rfs_set_label(operation, &request), options.store,
                  "label " + std::to_string(number) + " cannot be " + verb + ": there is no such label, or " +
                      options.store + " cannot be written");
    std::cout << verb << " label " << number << "\n";
}

}  // namespace

void addLabelsCommand(CLI::App& app, int& exitStatus) {
    auto* command = app.add_subcommand("labels", "List the labels (tags) of a store by time");
    auto options = std::make_shared<ListOptions>();
    command->add_option("STORE", options->store, "Store directory, disk image or block device")->required();
    command
        ->add_option("--store-channels", options->storeChannels,
                     "The recorder's number of channels N (1 to 64); the store does not record it")
        ->required();
    command->add_option("--channels", options->channels, "Channels, such as 1,2,4 (default: all)");
    command->add_option("--stream", options->stream, "main, sub or both (default: both)");
    addTimeSpanOptions(*command, options->span, SpanOptions::Optional);
    command->add_option("--text", options->text, "Only labels whose names contain this text (case-sensitive)");
    command->add_flag("--json", options->json, "Print JSON");
    command->callback([options, &exitStatus] { runReportingFailure(exitStatus, [&] { listLabels(*options); }); });
}

void addLabelCommand(CLI::App& app, int& exitStatus) {
    auto* command = app.add_subcommand("label", "Add, rename or delete a label; this writes to the store");
    command->require_subcommand(1);
    command->footer(
        "Changing labels writes to the store. Work on an image of the disk when the original must stay as "
        "it is.");
    auto options = std::make_shared<ChangeOptions>();
    auto store = [&](CLI::App* sub) {
        sub->add_option("STORE", options->store, "Store directory, disk image or block device")->required();
    };

    auto* add = command->add_subcommand("add", "Add a label to a channel at a time");
    store(add);
    add->add_option("--channel", options->channel, "The channel, numbered from 1")->required();
    add->add_option("--stream", options->stream, "main or sub (default: main)");
    add->add_option("--store-channels", options->storeChannels, "The recorder's number of channels; needed for sub");
    add->add_option("--time", options->time, "\"YYYY-MM-DD HH:MM:SS\"")->required();
    add->add_option("--name", options->name, "At most 43 characters")->required();
    add->callback([options, &exitStatus] { runReportingFailure(exitStatus, [&] { addLabel(*options); }); });

    auto* rename = command->add_subcommand("rename", "Give a label another name");
    store(rename);
    rename->add_option("--number", options->number, "The label's number, as `tarn labels` shows it")->required();
    rename->add_option("--name", options->name, "At most 43 characters")->required();
    rename->callback(
        [options, &exitStatus] { runReportingFailure(exitStatus, [&] { changeLabel(*options, Rename); }); });

    auto* remove = command->add_subcommand("delete", "Delete a label");
    store(remove);
    remove->add_option("--number", options->number, "The label's number, as `tarn labels` shows it")->required();
    remove->callback(
        [options, &exitStatus] { runReportingFailure(exitStatus, [&] { changeLabel(*options, Delete); }); });
}

}  // namespace tarn
