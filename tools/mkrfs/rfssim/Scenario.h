// What a simulated recorder has recorded: the store's shape and the recordings to write into it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "rfs/IndexRecords.h"
#include "rfs/PackedTime.h"

namespace rfssim {

enum class StoreLayout { Directory, RawImage };
// A hard disk's store, or an SD card's: always a folder, 256 MiB data files, no label area, longer file
// records, shorter key-frame entries and a thumbnail per event where a disk keeps motion bits.
enum class StoreKind { HardDisk, SdCard };
enum class VideoCodecKind { H264, H265 };
enum class StreamKind { Main, Sub };

struct VideoSettings {
    VideoCodecKind codec = VideoCodecKind::H264;
    int width = 640;
    int height = 360;
    int fps = 25;
    int gop = 50;
    int bitrate = 1'000'000;
    int grain = 0;  // amplitude of noise that changes with every picture, so that pictures cost real bits
};

struct PartitionSettings {
    uint32_t files = 16;
    uint8_t indexValid = 0x0F;
};

// How the recorder left a recording when the store was read: finished, or with its last event still
// being written (its event record says "EvWr"). The traces of an unclean shutdown belong here as well.
enum class RecordingEnd { Finished, EventStillWriting };

// The recorder lost power while recording: its data file was never closed (its sequence number still
// says "being written") and its partition is marked active.
struct PowerLoss {
    // InEvent: the last event's record still says "EvWr" with the values it had when the event began.
    // BeforeEvent: the recorder had written the last event's frames but not yet its record.
    enum class At { InEvent, BeforeEvent } at = At::InEvent;
    bool iendLost = false;          // the end slot of the key-frame index never reached the medium
    bool wrongEventNumber = false;  // the "EvWr" record carries another event number than its slot
};

struct Recording {
    int channel = 1;  // as users see it: 1 is store channel 0
    StreamKind stream = StreamKind::Main;
    rfs::CalendarTime from{};
    rfs::CalendarTime to{};  // exclusive
    uint32_t recTypes = rfs::RecNormal;
    uint8_t flag = 0;
    bool audio = false;
    int virtualKeyFrameEvery = 0;  // 0: none; n: every n-th picture of a GOP is listed as a key frame
    int eventSeconds = 0;          // 0: one event per recording
    // Given to the files that hold the recording's events; a file never mixes states.
    rfs::FileState fileState = rfs::FileInUse;
    RecordingEnd ending = RecordingEnd::Finished;
    std::optional<PowerLoss> powerLoss = std::nullopt;  // at the recording's end
    bool newFile = false;  // the first event starts a data file of its own
};

// A label as the recorder wrote it into the label area; labels are numbered in list order from 0.
struct ScenarioLabel {
    int channel = 1;  // as users see it: 1 is store channel 0
    rfs::CalendarTime time{};
    std::string name;  // up to 44 characters: a name of 44 has no terminator
    uint16_t value = 0;
    bool deleted = false;
};

// Snapshots of one channel: one every `everySeconds` from `from` until `to`, in a picture file of their own.
struct PictureSeries {
    int channel = 1;  // as users see it: 1 is store channel 0
    rfs::CalendarTime from{};
    rfs::CalendarTime to{};  // exclusive
    int everySeconds = 1;
    uint32_t recTypes = rfs::RecNormal;
    uint32_t externLength = 0;  // bytes before each frame record in its 4 KiB block
    int uncountedEvery = 0;     // n: every n-th picture is marked to be left out of a repair's count
    // The recorder lost power while filling the file: its record still shows an empty file being
    // written, and the end marker of its picture index may never have been written.
    struct PowerLoss {
        bool pendLost = false;
    };
    std::optional<PowerLoss> powerLoss = std::nullopt;
};

struct Scenario {
    std::optional<StoreLayout> layout;  // absent until the output (folder or image) decides it
    StoreKind kind = StoreKind::HardDisk;
    std::optional<uint8_t> fsType;  // the parameter block's file-system byte; absent: the kind's usual one
    int channels = 4;
    uint32_t dataFileSize = 0x10000000;
    std::optional<uint32_t> eventsPerFile;  // a track starts a new file after that many; absent: the file's slots
    std::optional<bool> labels;             // absent: a hard disk has a label area, an SD card never has one
    std::vector<ScenarioLabel> labelList;
    // An interrupted label change: the head is flagged and its counters and time ranges are stale.
    bool labelWriteFlag = false;
    std::vector<PartitionSettings> partitions{PartitionSettings{}};
    VideoSettings video;
    VideoSettings subVideo{VideoCodecKind::H264, 320, 180, 25, 50, 256'000};
    std::vector<Recording> recordings;
    std::vector<PictureSeries> pictures;
};

inline bool hasLabelArea(const Scenario& scenario) {
    return scenario.kind == StoreKind::HardDisk && scenario.labels.value_or(true);
}

// The second stream of channel c is stored as channel c + the number of channels.
inline int storeChannel(const Scenario& scenario, const Recording& recording) {
    return recording.channel - 1 + (recording.stream == StreamKind::Sub ? scenario.channels : 0);
}

inline const VideoSettings& streamVideo(const Scenario& scenario, StreamKind stream) {
    return stream == StreamKind::Main ? scenario.video : scenario.subVideo;
}

}  // namespace rfssim
