#include "ExportCommand.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "AttachedStore.h"
#include "ChannelSelection.h"
#include "ExportFile.h"
#include "ExportProgress.h"
#include "Failure.h"
#include "Interruption.h"
#include "RfsFrameInterface.h"
#include "TimeSpan.h"

namespace tarn {
namespace {

struct ExportOptions {
    std::string store;
    std::string channel;
    std::string stream = "main";
    std::string storeChannels;
    TimeSpanOptions span;
    std::string output;
    bool overwrite = false;
    bool sd = false;
};

std::filesystem::path checkedOutput(const ExportOptions& options) {
    const std::filesystem::path output(options.output);
    if (output.extension() != ".mp4")
        throw Failure("the output file must end in .mp4, not \"" + options.output + "\"");
    std::error_code error;
    if (std::filesystem::exists(output, error) && !options.overwrite)
        throw Failure(options.output + " already exists; add --overwrite to replace it");
    return output;
}

FrameSourceTime sourceTime(const rfs::CalendarTime& c) {
    return {static_cast<uint16_t>(c.year), static_cast<uint8_t>(c.month),  static_cast<uint8_t>(c.day),
            static_cast<uint8_t>(c.hour),  static_cast<uint8_t>(c.minute), static_cast<uint8_t>(c.second)};
}

uint64_t frameTimeOf(const rfs::CalendarTime& c) {
    return static_cast<uint64_t>(rfs::toEpochSeconds(c)) * 1'000'000;
}

void exportChannel(const ExportOptions& options) {
    const ChosenChannel chosen = chooseOneChannel(options.channel, options.stream, options.storeChannels);
    const Channel& channel = chosen.channel;
    const TimeSpan span = resolveTimeSpan(options.span);
    const std::filesystem::path output = checkedOutput(options);
    const AttachedStore store(options.store, options.sd);

    FrameSourcePtr source = store.sdCard() ? createSdFrameSource() : createHddFrameSource();
    FrameSourceParams params;
    params.channel = chosen.storeChannel;
    params.start = sourceTime(span.from);
    params.end = sourceTime(span.to);
    if (source->openChannel(params) != 0)
        throw Failure("the reader cannot search " + channelText(channel) + " of " + options.store);

    const InterruptionWatch interruption;
    ExportProgress progress(std::cerr, isatty(STDERR_FILENO) != 0, frameTimeOf(span.from), frameTimeOf(span.to));
    std::optional<ExportFile> file;
    uint64_t firstUs = 0;
    uint64_t lastUs = 0;
    for (;;) {
        if (interruption.interrupted())
            throw Failure("interrupted; " + output.string() + " was left as it was");
        const uint8_t* payload = nullptr;
        const rfs::KVFrameHeader* header = nullptr;
        const int result = source->getNextFrame(&payload, &header);
        if (result < 0) {
            const std::string failed =
                "reading " + channelText(channel) + " failed with reader code " + std::to_string(result);
            if (!file)
                throw Failure(failed);
            file->finish();
            progress.finish();
            throw Failure(failed + " after " + rfs::formatTime(rfs::fromEpochSeconds(lastUs / 1'000'000)) + "; " +
                          output.string() + " holds the " + std::to_string(progress.frames()) +
                          " frames exported before it");
        }
        if (header == nullptr)
            break;
        // Nothing before the first key frame can be decoded; the file starts there.
        if (!file && header->frameType != rfs::FrameI)
            continue;
        if (!file) {
            file.emplace(output, options.overwrite);
            firstUs = header->Time;
        }
        file->write(header);
        lastUs = std::max(lastUs, header->Time);
        progress.frameWritten(header->Time, rfs::kFrameHeaderSize + header->framesize);
    }
    if (!file)
        throw Failure(channelText(channel) + " has no recordings with a key frame from " + rfs::formatTime(span.from) +
                      " to " + rfs::formatTime(span.to) + "; nothing was exported");
    file->finish();
    progress.finish();
    std::cout << "exported " << progress.frames() << " frames (" << progress.bytes() << " bytes) of "
              << channelText(channel) << ", captured from "
              << rfs::formatTime(rfs::fromEpochSeconds(static_cast<int64_t>(firstUs / 1'000'000))) << " to "
              << rfs::formatTime(rfs::fromEpochSeconds(static_cast<int64_t>(lastUs / 1'000'000))) << ", to "
              << output.string() << "\n";
}

}  // namespace

void addExportCommand(CLI::App& app, int& exitStatus) {
    auto* command = app.add_subcommand("export", "Export one channel's recordings over a span of time to an MP4 file");
    auto options = std::make_shared<ExportOptions>();
    command->add_option("STORE", options->store, "Store directory, disk image or block device")->required();
    command->add_option("--channel", options->channel, "The channel to export, numbered from 1")->required();
    command->add_option("--stream", options->stream, "main or sub (default: main)");
    command->add_option("--store-channels", options->storeChannels,
                        "The recorder's number of channels N; needed for the sub stream");
    addTimeSpanOptions(*command, options->span);
    command->add_option("-o,--output", options->output, "The MP4 file to write")->required();
    command->add_flag("--overwrite", options->overwrite, "Replace the output file when it exists");
    command->add_flag("--sd", options->sd, "The store is an SD card's folder (also told by its store version)");
    command->footer(
        "Every frame record of the span (video and sound) goes into the file as the recorder stored it; nothing is\n"
        "decoded or re-encoded; the file starts at the first key frame at or after --from. Progress appears on\n"
        "standard error. The file is written under a temporary name beside OUT and renamed when complete: a\n"
        "failed or interrupted export (Ctrl-C) leaves OUT as it was. When the store cannot be read to the end of\n"
        "the span, OUT keeps the frames before the damage and tarn exits with status 1.");
    command->callback([options, &exitStatus] { runReportingFailure(exitStatus, [&] { exportChannel(*options); }); });
}

}  // namespace tarn
