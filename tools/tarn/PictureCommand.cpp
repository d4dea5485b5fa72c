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
#include "StillOptions.h"

namespace tarn {
namespace {

void writePicture(const StillOptions& options) {
    const StillRequest request = resolveStill(options);
    const ChosenChannel& chosen = request.chosen;
    const rfs::CalendarTime& time = request.time;
    const AttachedStore store(options.store, options.sd);

    Query query;
    query.store = options.store;
    query.layout = parseChannelLayout(options.storeChannels);
    query.channels = {chosen.channel};
    const PictureList found(query, time, time);
    if (found.pictures().empty())
        throw Failure(channelText(chosen.channel) + " took no picture at " + rfs::formatTime(time));
    const std::vector<uint8_t> jpeg = readPictureJpeg(found.pictures().front());
    writePictureFile(request.output, jpeg, options.overwrite);
    std::cout << "wrote the picture of " << channelText(chosen.channel) << " taken at " << rfs::formatTime(time) << " ("
              << jpeg.size() << " bytes of JPEG) to " << request.output.string() << "\n";
}

}  // namespace

void addPictureCommand(CLI::App& app, int& exitStatus) {
    auto* command = app.add_subcommand("picture", "Write the picture a channel took at a second to a JPEG file");
    auto options = std::make_shared<StillOptions>();
    addStillOptions(*command, *options, "The second the picture was taken, \"YYYY-MM-DD HH:MM:SS\"");
    command->footer(
        "The file holds the JPEG the recorder stored, byte for byte; the first picture of that second is taken when\n"
        "there are several. The frame record is checked before anything is written. The file is written under a\n"
        "temporary name beside OUT and renamed when complete: a failure leaves OUT as it was.");
    command->callback([options, &exitStatus] { runReportingFailure(exitStatus, [&] { writePicture(*options); }); });
}

}  // namespace tarn
