#include "rfssim/QuickScenario.h"

#include <algorithm>

#include "rfs/DiskParam.h"
#include "rfssim/SimError.h"
#include "rfssim/StoreGeometry.h"

namespace rfssim {
namespace {

constexpr uint32_t kSpareFiles = 4;
constexpr uint32_t kMinimumFiles = 8;
// Rate control may overshoot on short encodes; better a spare file than a failed run.
constexpr double kBitrateMargin = 1.5;
// A data file's motion-bit area holds one record per second for about seven hours.
constexpr int64_t kSecondsPerFileAtMost = 25'000;

int evenHalf(int size) {
    return std::max(16, size / 2 / 2 * 2);
}

uint32_t filesForTrack(const VideoSettings& video, bool audio, int64_t seconds, uint32_t dataFileSize) {
    const double videoBytes = kBitrateMargin * video.bitrate / 8.0 * static_cast<double>(seconds);
    const double audioBytes = audio ? (8000.0 + 25 * 48) * static_cast<double>(seconds) : 0.0;
    const double usable = dataFileSize - rfs::mediaStart(dataFileSize) - 1.0 * kMiB;
    const auto bySize = static_cast<uint32_t>((videoBytes + audioBytes) / usable) + 1;
    const auto byTime = static_cast<uint32_t>(seconds / kSecondsPerFileAtMost) + 1;
    return std::max(bySize, byTime);
}

}  // namespace

Scenario quickScenario(const QuickOptions& options) {
    const std::string clock = options.from.size() == 5 ? options.from + ":00" : options.from;
    const auto start = rfs::parseTime(options.day + " " + clock);
    if (!start)
        throw SimError("--day " + options.day + " --from " + options.from +
                       " is not a time (YYYY-MM-DD and HH:MM[:SS], years 2000..2063)");
    if (options.minutes < 1)
        throw SimError("--minutes must be at least 1");
    const int64_t seconds = int64_t{options.minutes} * 60;

    Scenario scenario;
    scenario.kind = options.sd ? StoreKind::SdCard : StoreKind::HardDisk;
    scenario.channels = options.channels;
    scenario.video = options.video;
    scenario.subVideo = VideoSettings{options.video.codec,
                                      evenHalf(options.video.width),
                                      evenHalf(options.video.height),
                                      options.video.fps,
                                      options.video.gop,
                                      std::max(10'000, options.video.bitrate / 4)};
    const rfs::CalendarTime end = rfs::fromEpochSeconds(rfs::toEpochSeconds(*start) + seconds);

    uint32_t files = kSpareFiles;
    for (int channel = 1; channel <= options.channels; ++channel) {
        Recording main{
            channel, StreamKind::Main, *start, end, rfs::RecNormal, 0, options.audio, options.virtualKeyFrameEvery, 0};
        scenario.recordings.push_back(main);
        files += filesForTrack(scenario.video, options.audio, seconds, scenario.dataFileSize);
        if (options.sub) {
            Recording sub = main;
            sub.stream = StreamKind::Sub;
            sub.audio = false;
            scenario.recordings.push_back(sub);
            files += filesForTrack(scenario.subVideo, false, seconds, scenario.dataFileSize);
        }
    }
    scenario.partitions = {
        PartitionSettings{options.files != 0 ? options.files : std::max(files, kMinimumFiles), 0x0F}};
    return scenario;
}

}  // namespace rfssim
