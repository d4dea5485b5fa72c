#include "PictureCommand.h"

#include <filesystem>
#include <iostream>
#include <memory>

#include "AttachedStore.h"
#include "ChannelSelection.h"
#include "Failure.h"
#include "PictureFile.h"
#include "PictureList.h"
#include "PictureRead.h"

namespace tarn {
namespace {

struct PictureOptions {
    std::string store;
    std::string storeChannels;
    std::string channel;
    std::string stream = "main";
    std::string time;
    std::string output;
    bool overwrite = false;
};

std::filesystem::path checkedOutput(const PictureOptions& options) {
    const std::filesystem::path output(options.output);
    if (output.extension() != ".jpg" && output.extension() != ".jpeg")
        throw Failure("the output file must end in .jpg or .jpeg, not \"" + options.output + "\"");
    std::error_code error;
    if (std::filesystem::exists(output, error) && !options.overwrite)
        throw Failure(options.output + " already exists; add --overwrite to replace it");
    return output;
}

void writePicture(const PictureOptions& options) {
    const ChosenChannel chosen = chooseOneChannel(options.channel, options.stream, options.storeChannels);
    const auto time = rfs::parseTime(options.time);
    if (!time)
        throw Failure("--time takes a time of the form \"YYYY-MM-DD HH:MM:SS\" (years 2000 to 2063), not \"" +
                      options.time + "\"");
    const std::filesystem::path output = checkedOutput(options);
    const AttachedStore store(options.store);

    Query query;
    query.store = options.store;
    query.layout = parseChannelLayout(options.storeChannels);
    query.channels = {chosen.channel};
    const PictureList found(query, *time, *time);
    if (found.pictures().empty())
        throw Failure(channelText(chosen.channel) + " took no picture at " + rfs::formatTime(*time));
    const std::vector<uint8_t> jpeg = readPictureJpeg(found.pictures().front());
    writePictureFile(output, jpeg, options.overwrite);
    std::cout << "wrote the picture of " << channelText(chosen.channel) << " taken at " << rfs::formatTime(*time)
              << " (" << jpeg.size() << " bytes of JPEG) to " << output.string() << "\n";
}

}  // namespace

void addPictureCommand(CLI::App& app, int& exitStatus) {
    auto* command = app.add_subcommand("picture", "Write the picture a channel took at a second to a JPEG file");
    auto options = std::make_shared<PictureOptions>();
    command->add_option("STORE", options->store, "Store directory, disk image or block device")->required();
    command
        ->add_option("--store-channels", options->storeChannels,
                     "The recorder's number of channels N (1 to 64); the store does not record it")
        ->required();
    command->add_option("--channel", options->channel, "The channel, numbered from 1")->required();
    command->add_option("--stream", options->stream, "main or sub (default: main)");
    command->add_option("--time", options->time, "The second the picture was taken, \"YYYY-MM-DD HH:MM:SS\"")
        ->required();
    command->add_option("-o,--output", options->output, "The JPEG file to write")->required();
    command->add_flag("--overwrite", options->overwrite, "Replace the output file when it exists");
    command->footer(
        "The file holds the JPEG the recorder stored, byte for byte; the first picture of that second is taken when\n"
        "there are several. The frame record is checked before anything is written. The file is written under a\n"
        "temporary name beside OUT and renamed when complete: a failure leaves OUT as it was.");
    command->callback([options, &exitStatus] { runReportingFailure(exitStatus, [&] { writePicture(*options); }); });
}

}  // namespace tarn
