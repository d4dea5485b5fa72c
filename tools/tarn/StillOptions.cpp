#include "StillOptions.h"

#include "Failure.h"

namespace tarn {

void addStillOptions(CLI::App& command, StillOptions& options, const std::string& timeHelp) {
    command.add_option("STORE", options.store, "Store directory, disk image or block device")->required();
    command
        .add_option("--store-channels", options.storeChannels,
                    "The recorder's number of channels N (1 to 64); the store does not record it")
        ->required();
    command.add_option("--channel", options.channel, "The channel, numbered from 1")->required();
    command.add_option("--stream", options.stream, "main or sub (default: main)");
    command.add_option("--time", options.time, timeHelp)->required();
    command.add_option("-o,--output", options.output, "The JPEG file to write")->required();
    command.add_flag("--overwrite", options.overwrite, "Replace the output file when it exists");
    command.add_flag("--sd", options.sd, "The store is an SD card's folder (also told by its store version)");
}

StillRequest resolveStill(const StillOptions& options) {
    StillRequest request{chooseOneChannel(options.channel, options.stream, options.storeChannels), {}, options.output};
    const auto time = rfs::parseTime(options.time);
    if (!time)
        throw Failure("--time takes a time of the form \"YYYY-MM-DD HH:MM:SS\" (years 2000 to 2063), not \"" +
                      options.time + "\"");
    request.time = *time;
    if (request.output.extension() != ".jpg" && request.output.extension() != ".jpeg")
        throw Failure("the output file must end in .jpg or .jpeg, not \"" + options.output + "\"");
    std::error_code error;
    if (std::filesystem::exists(request.output, error) && !options.overwrite)
        throw Failure(options.output + " already exists; add --overwrite to replace it");
    return request;
}

}  // namespace tarn
