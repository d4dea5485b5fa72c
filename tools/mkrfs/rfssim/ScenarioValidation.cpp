#include "rfssim/ScenarioValidation.h"

#include "rfs/LabelRecords.h"

#include <string>

#include "rfs/DiskParam.h"
#include "rfs/PictureRecords.h"
#include "rfssim/SimError.h"
#include "rfssim/StoreGeometry.h"

namespace rfssim {
namespace {

// The store channel lands in the frame header's 7 channel bits, with the second streams above the first.
constexpr int kMaxChannels = 64;
// The distance of a virtual key frame to its I frame has 11 bits in the frame header.
constexpr int kMaxGop = 2048;
// File-system bytes with a name: eight on a hard disk, four on an SD card (3: no file system).
constexpr uint8_t kLastDiskFsType = 7;
constexpr uint8_t kSdRawFsType = 3;

void require(bool condition, const std::string& message) {
    if (!condition)
        throw SimError(message);
}

void validateVideo(const VideoSettings& video, const std::string& where) {
    require(video.width >= 16 && video.width <= 4096 && video.width % 2 == 0,
            where + ".width must be an even number from 16 to 4096");
    require(video.height >= 16 && video.height <= 4096 && video.height % 2 == 0,
            where + ".height must be an even number from 16 to 4096");
    require(video.fps >= 1 && video.fps <= 120, where + ".fps must be from 1 to 120");
    require(video.gop >= 1 && video.gop <= kMaxGop, where + ".gop must be from 1 to " + std::to_string(kMaxGop));
    require(video.bitrate >= 10'000 && video.bitrate <= 100'000'000,
            where + ".bitrate must be from 10000 to 100000000");
    require(video.grain >= 0 && video.grain <= 64, where + ".grain must be from 0 to 64");
}

void validateSpan(const rfs::CalendarTime& from, const rfs::CalendarTime& to, const std::string& where) {
    require(rfs::isValidPackable(from) && rfs::isValidPackable(to),
            where + ": times must lie in the years 2000 to 2063");
    require(rfs::toEpochSeconds(from) < rfs::toEpochSeconds(to),
            where + ": \"from\" (" + rfs::formatTime(from) + ") must come before \"to\" (" + rfs::formatTime(to) + ")");
}

void validateRecording(const Scenario& scenario, const Recording& recording, const std::string& where) {
    require(recording.channel >= 1 && recording.channel <= scenario.channels,
            where + ".channel must be from 1 to " + std::to_string(scenario.channels));
    validateSpan(recording.from, recording.to, where);
    require(recording.recTypes != 0, where + ".types must name at least one recording type");
    const int gop = streamVideo(scenario, recording.stream).gop;
    require(recording.virtualKeyFrameEvery == 0 ||
                (recording.virtualKeyFrameEvery > 0 && recording.virtualKeyFrameEvery < gop),
            where + ".virtual_kf_every must be 0 or less than the stream's gop (" + std::to_string(gop) + ")");
    require(recording.virtualKeyFrameEvery == 0 || scenario.kind == StoreKind::HardDisk,
            where + ".virtual_kf_every: an SD card lists only I frames as key frames");
    require(recording.eventSeconds >= 0, where + ".event_seconds must not be negative");
    require(!recording.powerLoss || recording.ending == RecordingEnd::Finished,
            where + ": a recording ends either \"writing\" or with \"power_loss\", not both");
    require(!recording.powerLoss || recording.powerLoss->at == PowerLoss::At::InEvent ||
                (!recording.powerLoss->iendLost && !recording.powerLoss->wrongEventNumber),
            where + ".power_loss: iend_lost and wrong_event_number need \"at\": \"in_event\"");
    require(recording.fileState >= rfs::FileInUse && recording.fileState <= rfs::FileRepaired,
            where + ".file_state must be 1, 2, 3 or 4 (a state of a file in use)");
}

void validatePictures(const Scenario& scenario, const PictureSeries& series, const std::string& where) {
    require(series.channel >= 1 && series.channel <= scenario.channels,
            where + ".channel must be from 1 to " + std::to_string(scenario.channels));
    validateSpan(series.from, series.to, where);
    require(series.everySeconds >= 1, where + ".every_seconds must be at least 1");
    require(series.uncountedEvery >= 0, where + ".uncounted_every must not be negative");
    require(series.recTypes != 0, where + ".types must name at least one recording type");
    require(series.externLength < rfs::kPictureBlock,
            where + ".extern_length must be from 0 to " + std::to_string(rfs::kPictureBlock - 1));
    // A file record counts its pictures in 16 bits.
    const int64_t count =
        (rfs::toEpochSeconds(series.to) - rfs::toEpochSeconds(series.from) + series.everySeconds - 1) /
        series.everySeconds;
    require(count <= 65535, where + " takes " + std::to_string(count) + " pictures; a picture file holds 65535");
}

void validateLabels(const Scenario& scenario) {
    require(hasLabelArea(scenario) || (scenario.labelList.empty() && !scenario.labelWriteFlag),
            "label_list and label_write_flag need a label area (\"labels\": true, on a hard disk)");
    // One entry stays free for the end marker.
    require(scenario.labelList.size() < rfs::kMaxLabels,
            "label_list holds at most " + std::to_string(rfs::kMaxLabels - 1) + " labels");
    for (std::size_t i = 0; i < scenario.labelList.size(); ++i) {
        const ScenarioLabel& label = scenario.labelList[i];
        const std::string where = "label_list[" + std::to_string(i) + "]";
        require(label.channel >= 1 && label.channel <= 2 * scenario.channels,
                where + ".channel must be from 1 to " + std::to_string(2 * scenario.channels));
        require(rfs::isValidPackable(label.time), where + ".time must lie in the years 2000 to 2063");
        require(label.name.size() <= sizeof(rfs::label_info_t::name), where + ".name holds at most 44 characters");
    }
}

// What an SD card can hold: a folder store of 256 MiB files without a label area, and a file-system
// byte its reader knows.
void validateSdCard(const Scenario& scenario) {
    require(*scenario.layout == StoreLayout::Directory,
            "an SD card's store is a folder: write it with --dir (\"layout\": \"dir\")");
    require(scenario.dataFileSize == rfs::kSdDataFileSize,
            "an SD card's data files are 256 MiB: data_file_size must be 268435456");
    require(scenario.labels != true, "an SD card has no label area: \"labels\" must not be true");
    require(scenario.fsType.value_or(kSdFsType) <= kSdRawFsType,
            "fs_type of an SD card must be from 0 to 3 (vfat, ext4, xfs, raw)");
}

}  // namespace

void validateScenario(const Scenario& scenario) {
    require(scenario.layout.has_value(), "the scenario names no layout (\"dir\" or \"raw\")");
    require(scenario.channels >= 1 && scenario.channels <= kMaxChannels,
            "channels must be from 1 to " + std::to_string(kMaxChannels));
    require(rfs::normalisedDataFileSize(scenario.dataFileSize) == scenario.dataFileSize,
            "data_file_size must be 268435456, 536870912 or 1073741824");
    const uint32_t eventSlots = rfs::eventsPerFile(scenario.dataFileSize);
    require(!scenario.eventsPerFile || (*scenario.eventsPerFile >= 1 && *scenario.eventsPerFile <= eventSlots),
            "events_per_file must be from 1 to " + std::to_string(eventSlots) + " (the event slots of a data file)");
    if (scenario.kind == StoreKind::SdCard)
        validateSdCard(scenario);
    else
        require(scenario.fsType.value_or(kDiskFsType) <= kLastDiskFsType, "fs_type must be from 0 to 7");
    require(!scenario.partitions.empty() && scenario.partitions.size() <= rfs::kMaxPartitions,
            "a store has 1 to 4 partitions");
    require(*scenario.layout == StoreLayout::RawImage || scenario.partitions.size() == 1,
            "a directory store has exactly one partition; use the raw layout for more");
    for (std::size_t p = 0; p < scenario.partitions.size(); ++p) {
        const std::string where = "partitions[" + std::to_string(p) + "]";
        require(scenario.partitions[p].files >= 1 && scenario.partitions[p].files <= 65535,
                where + ".files must be from 1 to 65535");
        require(scenario.partitions[p].indexValid <= 0x0F, where + ".index_valid must be from 0 to 15");
    }
    validateVideo(scenario.video, "video");
    validateVideo(scenario.subVideo, "sub_video");
    for (std::size_t r = 0; r < scenario.recordings.size(); ++r)
        validateRecording(scenario, scenario.recordings[r], "recordings[" + std::to_string(r) + "]");
    validateLabels(scenario);
    for (std::size_t p = 0; p < scenario.pictures.size(); ++p)
        validatePictures(scenario, scenario.pictures[p], "pictures[" + std::to_string(p) + "]");
}

}  // namespace rfssim
