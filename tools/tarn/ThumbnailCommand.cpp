#include "ThumbnailCommand.h"

#include <iostream>
#include <memory>

#include "AttachedStore.h"
#include "Failure.h"
#include "PictureFile.h"
#include "RecordingSearch.h"
#include "StillOptions.h"
#include "rfs/FrameRecord.h"

namespace tarn {
namespace {

// A thumbnail is a small picture; this bounds what a damaged record can make us read.
constexpr int kMaxThumbnailRecord = 4 << 20;

void writeThumbnail(const StillOptions& options) {
    const StillRequest request = resolveStill(options);
    const AttachedStore store(options.store, options.sd);
    if (!store.reader().keepsThumbnails())
        throw Failure(options.store + " is a hard-disk store: only SD cards keep thumbnails");

    Query query;
    query.store = options.store;
    query.layout = parseChannelLayout(options.storeChannels);
    query.channels = {request.chosen.channel};
    const std::vector<ChannelRecordings> found = findRecordings(query, request.time, request.time);
    if (found.empty() || found.front().events.empty())
        throw Failure(channelText(request.chosen.channel) + " has no recording at " + rfs::formatTime(request.time));
    const rfs_event_t& event = found.front().events.front();

    std::vector<uint8_t> record(kMaxThumbnailRecord);
    int size = kMaxThumbnailRecord;
    if (store.reader().thumbnail(event, record.data(), &size) != 0 || size < static_cast<int>(rfs::kFrameHeaderSize))
        throw Failure("the thumbnail of the recording at " + rfs::formatTime(request.time) + " cannot be read");
    const std::vector<uint8_t> jpeg(record.begin() + rfs::kFrameHeaderSize, record.begin() + size);
    writePictureFile(request.output, jpeg, options.overwrite);
    const rfs::CalendarTime start = rfs::unpackTime(rfs::packTime(event.start));
    std::cout << "wrote the thumbnail of " << channelText(request.chosen.channel) << "'s recording from "
              << rfs::formatTime(start) << " (" << jpeg.size() << " bytes of JPEG) to " << request.output.string()
              << "\n";
}

}  // namespace

void addThumbnailCommand(CLI::App& app, int& exitStatus) {
    auto* command =
        app.add_subcommand("thumbnail", "Write the thumbnail an SD card keeps with a recording to a JPEG file");
    auto options = std::make_shared<StillOptions>();
    addStillOptions(*command, *options, "A second of the recording, \"YYYY-MM-DD HH:MM:SS\"");
    command->footer(
        "SD cards keep a small picture of each recording's first moment. The file holds that JPEG byte for byte;\n"
        "it is written under a temporary name beside OUT and renamed when complete.");
    command->callback([options, &exitStatus] { runReportingFailure(exitStatus, [&] { writeThumbnail(*options); }); });
}

}  // namespace tarn
