// A store with several channels, both streams, audio, virtual key frames, cut events, recordings that
// share a file and a month change: every record must agree with the bytes, and with the manifest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>

#include "DataFileCheck.h"
#include "StoreReadBack.h"
#include "TempDir.h"
#include "TestScenarios.h"
#include "rfssim/StoreWriter.h"

namespace fs = std::filesystem;
using namespace rfssim;

namespace {

Scenario mixedScenario(StoreLayout layout, std::vector<PartitionSettings> partitions) {
    Scenario s;
    s.layout = layout;
    s.channels = 2;
    s.partitions = std::move(partitions);
    s.video = tinyVideo();
    s.subVideo = tinyVideo(VideoCodecKind::H264, 96, 64);

    Recording cut = recording(1, StreamKind::Main, "2026-12-01 09:00:00", "2026-12-01 09:01:00");
    cut.eventSeconds = 20;
    Recording sub = recording(2, StreamKind::Sub, "2026-12-01 09:00:00", "2026-12-01 09:00:40");
    sub.audio = true;
    sub.virtualKeyFrameEvery = 3;
    sub.recTypes = rfs::RecMotion;
    sub.flag = 2;
    Recording later = recording(1, StreamKind::Main, "2026-12-03 10:00:00", "2026-12-03 10:00:30");
    later.recTypes = rfs::RecMotion | rfs::RecIo;
    const Recording newYear = recording(1, StreamKind::Main, "2026-12-31 23:59:30", "2027-01-01 00:00:30");
    s.recordings = {cut, sub, later, newYear};
    return s;
}

struct ExpectedEvent {
    const char* start;
    const char* end;
    uint32_t recType;
    uint8_t flag;
    uint32_t videoFrames;
    uint32_t audioFrames;
    uint32_t keyFrameEntries;
};

struct ExpectedFile {
    int partition;
    uint32_t index;
    int storeChannel;
    uint32_t eseq;
    int width;
    int height;
    std::vector<ExpectedEvent> events;
};

struct ContentCase {
    const char* name;
    StoreLayout layout;
    std::vector<PartitionSettings> partitions;
    std::vector<ExpectedFile> files;  // by partition and index
};

// Channel 1's file fills with its December recordings and is closed first when January begins; the
// other two close at the end, channel 1 first. The sub stream of channel 2 is store channel 2 + 2 - 1.
std::vector<ExpectedFile> expectedFiles(DataFileSlot channel2Sub, DataFileSlot january) {
    const std::vector<ExpectedEvent> december = {
        {"2026-12-01 09:00:00", "2026-12-01 09:00:19", rfs::RecNormal, 0, 100, 0, 10},
        {"2026-12-01 09:00:20", "2026-12-01 09:00:39", rfs::RecNormal, 0, 100, 0, 10},
        {"2026-12-01 09:00:40", "2026-12-01 09:00:59", rfs::RecNormal, 0, 100, 0, 10},
        {"2026-12-03 10:00:00", "2026-12-03 10:00:29", rfs::RecMotion | rfs::RecIo, 0, 150, 0, 15},
        {"2026-12-31 23:59:30", "2026-12-31 23:59:59", rfs::RecNormal, 0, 150, 0, 15},
    };
    // Audio: 25 blocks a second; virtual key frames at 3, 6 and 9 of each GOP of 10.
    return {
        {0, 0, 0, 1, 160, 90, december},
        {channel2Sub.partition,
         channel2Sub.index,
         3,
         3,
         96,
         64,
         {{"2026-12-01 09:00:00", "2026-12-01 09:00:39", rfs::RecMotion, 2, 200, 1000, 80}}},
        {january.partition,
         january.index,
         0,
         2,
         160,
         90,
         {{"2027-01-01 00:00:00", "2027-01-01 00:00:29", rfs::RecNormal, 0, 150, 0, 15}}},
    };
}

const ContentCase kCases[] = {
    {"dir", StoreLayout::Directory, {{5, 0x0F}}, expectedFiles({0, 1}, {0, 2})},
    {"raw_two_partitions", StoreLayout::RawImage, {{2, 0x0F}, {3, 0x0F}}, expectedFiles({0, 1}, {1, 0})},
};

void PrintTo(const ContentCase& c, std::ostream* os) {
    *os << c.name;
}

class StoreContent : public ::testing::TestWithParam<ContentCase> {
protected:
    void SetUp() override {
        const ContentCase& c = GetParam();
        path_ = dir_.path() / "store";
        manifest_ = writeStore(mixedScenario(c.layout, c.partitions), path_);
    }

    WrittenStore store() const { return WrittenStore(path_, GetParam().layout); }

    TempDir dir_;
    fs::path path_;
    StoreManifest manifest_;
};

}  // namespace

TEST_P(StoreContent, RecordsAgreeWithTheBytes) {
    const WrittenStore s = store();
    const DataFileLayout layout = dataFileLayout(s.param().dataFileSize, s.kind());
    std::size_t used = 0;
    for (std::size_t p = 0; p < GetParam().partitions.size(); ++p) {
        const int partition = static_cast<int>(p);
        for (uint32_t n = 0; n < GetParam().partitions[p].files; ++n) {
            SCOPED_TRACE("partition " + std::to_string(p) + " file " + std::to_string(n));
            const rfs::index_file_info record = s.fileRecord(partition, n);
            if (record.state == rfs::FileFree) {
                EXPECT_EQ(record.event_nr, 0);
                continue;
            }
            ++used;
            expectConsistentDataFile(s.dataFile(partition, n), layout, record, s.events(partition, n));
        }
    }
    EXPECT_EQ(used, GetParam().files.size());
}

TEST_P(StoreContent, FilesHoldTheRecordedEvents) {
    const WrittenStore s = store();
    for (const ExpectedFile& expected : GetParam().files) {
        SCOPED_TRACE("partition " + std::to_string(expected.partition) + " file " + std::to_string(expected.index));
        const rfs::index_file_info record = s.fileRecord(expected.partition, expected.index);
        EXPECT_EQ(record.chn, expected.storeChannel);
        EXPECT_EQ(record.eseq, expected.eseq);
        EXPECT_EQ(record.file_no, expected.index + 1);
        const auto events = s.events(expected.partition, expected.index);
        ASSERT_EQ(events.size(), expected.events.size());
        const auto walked = walkEvents(s.dataFile(expected.partition, expected.index), events);
        for (std::size_t e = 0; e < events.size(); ++e) {
            const ExpectedEvent& want = expected.events[e];
            SCOPED_TRACE("event " + std::to_string(e + 1));
            EXPECT_EQ(events[e].magic, rfs::kEventMagic);
            EXPECT_EQ(rfs::formatTime(rfs::unpackTime(events[e].start_time)), want.start);
            EXPECT_EQ(rfs::formatTime(rfs::unpackTime(events[e].end_time)), want.end);
            EXPECT_EQ(events[e].rec_type, want.recType);
            EXPECT_EQ(events[e].flag, want.flag);
            uint32_t video = 0, audio = 0;
            for (const WalkedFrame& frame : walked[e]) {
                if (frame.header.frameType == rfs::FrameAudio) {
                    ++audio;
                    continue;
                }
                ++video;
                EXPECT_EQ(frame.header.codec, rfs::CodecH264);
                EXPECT_EQ(frame.header.video.width, expected.width);
                EXPECT_EQ(frame.header.video.height, expected.height);
                EXPECT_EQ(frame.header.video.frameRate, 5);
            }
            EXPECT_EQ(video, want.videoFrames);
            EXPECT_EQ(audio, want.audioFrames);
            EXPECT_EQ((events[e].kf_top - events[e].kf_low) / sizeof(rfs::iframe_info_t), want.keyFrameEntries);
        }
    }
}

TEST_P(StoreContent, DayBitsMarkTheDaysOfEachRecordingType) {
    const WrittenStore s = store();
    const ExpectedFile& december = GetParam().files[0];
    const ExpectedFile& sub = GetParam().files[1];
    const ExpectedFile& january = GetParam().files[2];
    const rfs::index_file_info decemberFile = s.fileRecord(december.partition, december.index);
    EXPECT_EQ(decemberFile.day_bits[0], 1u << 0 | 1u << 30);  // normal on the 1st and the 31st
    EXPECT_EQ(decemberFile.day_bits[1], 1u << 2);             // motion on the 3rd
    EXPECT_EQ(decemberFile.day_bits[2], 1u << 2);             // io on the 3rd
    EXPECT_EQ(s.fileRecord(sub.partition, sub.index).day_bits[1], 1u << 0);
    const rfs::index_file_info januaryFile = s.fileRecord(january.partition, january.index);
    EXPECT_EQ(januaryFile.day_bits[0], 1u << 0);
    for (int type = 1; type < 16; ++type)
        EXPECT_EQ(januaryFile.day_bits[type], 0u);
}

TEST_P(StoreContent, FrameNumbersRunOnAcrossTheFilesOfAStream) {
    const WrittenStore s = store();
    const ExpectedFile& january = GetParam().files[2];
    const auto walked =
        walkEvents(s.dataFile(january.partition, january.index), s.events(january.partition, january.index));
    ASSERT_FALSE(walked.empty());
    ASSERT_FALSE(walked[0].empty());
    EXPECT_EQ(walked[0][0].header.frameNo, 600u) << "channel 1 recorded 600 frames in December";
}

// Read from the key-frame index alone, as a reader seeks: every virtual key frame of a GOP points at
// the same I frame, the GOP's own.
TEST_P(StoreContent, VirtualKeyFramesOfAGopShareItsIFrame) {
    const WrittenStore s = store();
    const ExpectedFile& sub = GetParam().files[1];
    const auto events = s.events(sub.partition, sub.index);
    ASSERT_EQ(events.size(), 1u);
    const rfs::index_event_info& event = events[0];
    const std::vector<uint8_t> block = s.dataFile(sub.partition, sub.index)(event.kf_low, event.kf_top - event.kf_low);
    constexpr std::size_t kEntry = sizeof(rfs::iframe_info_t);

    std::vector<int> virtualsPerGop;
    rfs::iframe_info_t iFrame{};
    for (std::size_t k = 1; k <= block.size() / kEntry; ++k) {  // from kf_top downward
        const auto entry = recordAt<rfs::iframe_info_t>(block, block.size() - k * kEntry);
        SCOPED_TRACE("entry " + std::to_string(k));
        if (entry.ref_offset == entry.offset) {
            EXPECT_EQ(entry.ref_length, entry.length);
            iFrame = entry;
            virtualsPerGop.push_back(0);
            continue;
        }
        ASSERT_FALSE(virtualsPerGop.empty()) << "a virtual key frame before any I frame";
        EXPECT_EQ(entry.ref_offset, iFrame.offset);
        EXPECT_EQ(entry.ref_length, iFrame.length);
        EXPECT_GT(entry.offset, iFrame.offset);
        ++virtualsPerGop.back();
    }
    // 40 seconds at 5 frames a second in GOPs of 10, virtual key frames at pictures 3, 6 and 9.
    EXPECT_EQ(virtualsPerGop, std::vector<int>(20, 3));
}

TEST_P(StoreContent, PartitionRecordsSummariseTheirFiles) {
    const WrittenStore s = store();
    for (std::size_t p = 0; p < GetParam().partitions.size(); ++p) {
        SCOPED_TRACE("partition " + std::to_string(p));
        uint16_t used = 0;
        std::string first = "9999", last;
        for (const ExpectedFile& file : GetParam().files) {
            if (file.partition != static_cast<int>(p))
                continue;
            ++used;
            for (const ExpectedEvent& event : file.events) {
                first = std::min<std::string>(first, event.start);
                last = std::max<std::string>(last, event.end);
            }
        }
        const rfs::part_info_t part = s.partInfo(static_cast<int>(p));
        EXPECT_EQ(part.file_nr, GetParam().partitions[p].files);
        EXPECT_EQ(part.free_nr, GetParam().partitions[p].files - used);
        EXPECT_EQ(rfs::formatTime(rfs::unpackTime(part.rec_start)), first);
        EXPECT_EQ(rfs::formatTime(rfs::unpackTime(part.rec_end)), last);
        const std::vector<uint8_t> area = s.indexArea(static_cast<int>(p), 0);
        for (int copy = 1; copy < 4; ++copy)
            EXPECT_TRUE(s.indexArea(static_cast<int>(p), copy) == area) << "index copy " << copy << " differs";
    }
}

TEST_P(StoreContent, UnusedEventSlotsStayZero) {
    const WrittenStore s = store();
    for (const ExpectedFile& file : GetParam().files) {
        const auto slots = s.eventSlots(file.partition, file.index);
        const rfs::index_event_info zero{};
        for (std::size_t e = file.events.size(); e < slots.size(); ++e)
            ASSERT_EQ(std::memcmp(&slots[e], &zero, sizeof zero), 0) << "slot " << e;
    }
}

TEST_P(StoreContent, ManifestDescribesWhatTheIndexHolds) {
    const WrittenStore s = store();
    ASSERT_EQ(manifest_.files.size(), GetParam().files.size());
    const rfs::disk_param_t param = s.param();
    EXPECT_EQ(std::memcmp(&manifest_.param, &param, sizeof param), 0);
    for (const WrittenFile& file : manifest_.files) {
        SCOPED_TRACE("partition " + std::to_string(file.partition) + " file " + std::to_string(file.fileIndex));
        const rfs::index_file_info record = s.fileRecord(file.partition, file.fileIndex);
        EXPECT_EQ(record.state, rfs::FileInUse);
        EXPECT_EQ(file.state, record.state);
        EXPECT_EQ(file.storeChannel, record.chn);
        EXPECT_EQ(file.eseq, record.eseq);
        EXPECT_EQ(rfs::packTime(file.start), record.start_time);
        EXPECT_EQ(rfs::packTime(file.end), record.end_time);
        EXPECT_EQ(file.dataEnd, record.data_end);
        EXPECT_EQ(file.indexLow, record.index_low);
        EXPECT_EQ(file.mobitEnd, record.mobit_end);
        const auto events = s.events(file.partition, file.fileIndex);
        const auto walked = walkEvents(s.dataFile(file.partition, file.fileIndex), events);
        ASSERT_EQ(file.events.size(), events.size());
        uint32_t audioFrames = 0;
        for (const WalkedEvent& event : walked)
            audioFrames += static_cast<uint32_t>(std::count_if(event.begin(), event.end(), [](const WalkedFrame& f) {
                return f.header.frameType == rfs::FrameAudio;
            }));
        EXPECT_EQ(file.audioFrames(), audioFrames);
        EXPECT_EQ(file.videoFrames(),
                  std::accumulate(walked.begin(), walked.end(), 0u, [](uint32_t sum, const WalkedEvent& e) {
                      return sum + static_cast<uint32_t>(e.size());
                  }) - audioFrames);
        for (std::size_t e = 0; e < events.size(); ++e) {
            const WrittenEvent& w = file.events[e];
            const rfs::index_event_info& r = events[e];
            SCOPED_TRACE("event " + std::to_string(e + 1));
            EXPECT_EQ(w.eventNo, r.event_no);
            EXPECT_EQ(w.magic, r.magic);
            EXPECT_EQ(rfs::packTime(w.start), r.start_time);
            EXPECT_EQ(rfs::packTime(w.end), r.end_time);
            EXPECT_EQ(w.recType, r.rec_type);
            EXPECT_EQ(w.flag, r.flag);
            EXPECT_EQ(w.dataStart, r.data_start);
            EXPECT_EQ(w.dataLen, r.data_len);
            EXPECT_EQ(w.kfTop, r.kf_top);
            EXPECT_EQ(w.kfLow, r.kf_low);
            EXPECT_EQ(w.mobitStart, r.mobit_start);
            EXPECT_EQ(w.mobitEnd, r.mobit_end);
            const auto count = [&](auto keep) {
                return static_cast<uint32_t>(std::count_if(walked[e].begin(), walked[e].end(), keep));
            };
            EXPECT_EQ(w.videoFrames, count([](const WalkedFrame& f) { return f.header.frameType != rfs::FrameAudio; }));
            EXPECT_EQ(w.audioFrames, count([](const WalkedFrame& f) { return f.header.frameType == rfs::FrameAudio; }));
            EXPECT_EQ(w.keyFrameEntries, count([](const WalkedFrame& f) {
                          return f.header.frameType == rfs::FrameI || f.header.frameType == rfs::FrameVirtual;
                      }));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, StoreContent, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
