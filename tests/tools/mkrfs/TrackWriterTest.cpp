// When a track moves on to the next data file: frames reaching the key-frame index, event slots or
// the motion-bit area running out, a new month. Data files here are small and in memory, and the
// frames synthetic, so each limit is reached in a few frames.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "DataFileCheck.h"
#include "TestScenarios.h"
#include "rfssim/RecordingPlan.h"
#include "rfssim/SimError.h"
#include "rfssim/StillPicture.h"
#include "rfssim/TrackWriter.h"

using namespace rfssim;

namespace {

// 64 KiB files: media from 8 KiB, room for 51 motion-bit records, four event slots.
constexpr DataFileLayout kSmallFile{65536, 8192, 4};

class MemoryFiles {
public:
    DataFileOpener opener() {
        return [this](DataFileSlot slot) -> std::unique_ptr<ByteSink> {
            auto& bytes = files_[{slot.partition, slot.index}];
            bytes.assign(kSmallFile.size, 0);
            return std::make_unique<Sink>(bytes);
        };
    }

    DataFileReader reader(DataFileSlot slot) const {
        const std::vector<uint8_t>& bytes = files_.at({slot.partition, slot.index});
        return [&bytes](uint64_t offset, std::size_t length) {
            if (offset + length > bytes.size())
                throw std::out_of_range("read past the end of a data file");
            return std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                        bytes.begin() + static_cast<std::ptrdiff_t>(offset + length));
        };
    }

private:
    class Sink final : public ByteSink {
    public:
        explicit Sink(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
        void writeAt(uint64_t offset, std::span<const uint8_t> data) override {
            if (offset + data.size() > bytes_.size())
                throw std::out_of_range("write past the end of a data file");
            std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
        }

    private:
        std::vector<uint8_t>& bytes_;
    };

    std::map<std::pair<int, uint32_t>, std::vector<uint8_t>> files_;
};

// What the encoder would hand over, with payloads of chosen sizes.
EncodedChunk syntheticChunk(const PlannedEvent& event, const ChunkJob& job, uint32_t keyBytes, uint32_t otherBytes) {
    EncodedChunk chunk;
    for (uint32_t i = 0; i < job.frameCount; ++i) {
        const uint32_t frame = job.firstFrame + i;
        const bool key = frame % event.video.gop == 0;
        if (key)
            chunk.groups.emplace_back();
        chunk.groups.back().push_back(
            SimFrame{key ? rfs::FrameI : rfs::FrameP, event.frameTimeUs(frame), 0,
                     std::vector<uint8_t>(key ? keyBytes : otherBytes, static_cast<uint8_t>(frame))});
    }
    return chunk;
}

struct TrackCase {
    const char* name;
    const char* from;
    const char* to;
    int fps;
    int gop;
    int eventSeconds;
    uint32_t keyBytes;
    uint32_t otherBytes;
    std::vector<std::size_t> eventsPerFile;
    std::vector<uint32_t> videoFramesPerFile;
};

// clang-format off
const TrackCase kCases[] = {
    // A GOP takes 8160 bytes and one entry. Seven would end exactly at the lowest entry and leave no
    // room for the Iend slot below it, so six go into each file.
    {"frames_reach_the_key_frame_index", "2026-12-01 09:00:00", "2026-12-01 09:01:00", 1, 5, 0, 3960, 1000,
     {1, 1}, {30, 30}},
    {"event_slots_run_out", "2026-12-01 09:00:00", "2026-12-01 09:00:12", 1, 2, 2, 100, 50,
     {4, 2}, {8, 4}},
    // 51 records: 50 seconds and the end marker.
    {"motion_bit_area_fills", "2026-12-01 09:00:00", "2026-12-01 09:02:00", 1, 1, 0, 100, 100,
     {1, 1, 1}, {50, 50, 20}},
    {"month_changes", "2026-12-31 23:59:58", "2027-01-01 00:00:02", 1, 1, 0, 100, 100,
     {1, 1}, {2, 2}},
};
// clang-format on

void PrintTo(const TrackCase& c, std::ostream* os) {
    *os << c.name;
}

struct WrittenTrack {
    MemoryFiles files;
    DataFileLedger ledger{{10}};
};

void writeTrack(WrittenTrack& track, const TrackCase& c, const DataFileLayout& layout = kSmallFile) {
    Scenario scenario;
    scenario.channels = 1;
    scenario.video = VideoSettings{VideoCodecKind::H264, 160, 90, c.fps, c.gop, 100'000};
    Recording r = recording(1, StreamKind::Main, c.from, c.to);
    r.eventSeconds = c.eventSeconds;
    scenario.recordings = {r};
    const RecordingPlan plan = planRecordings(scenario);

    TrackWriter writer(layout, layout.eventsPerFile, track.ledger, track.files.opener(), 0);
    for (const ChunkJob& job : plan.chunks) {
        const PlannedEvent& event = plan.events[job.eventIndex];
        writer.write(event, job, syntheticChunk(event, job, c.keyBytes, c.otherBytes));
    }
    writer.close();
}

class TrackWriterFileChange : public ::testing::TestWithParam<TrackCase> {};

}  // namespace

TEST_P(TrackWriterFileChange, MovesOnToTheNextFileWithANewEvent) {
    const TrackCase& c = GetParam();
    WrittenTrack track;
    writeTrack(track, c);

    const auto& closed = track.ledger.closedFiles();
    ASSERT_EQ(closed.size(), c.eventsPerFile.size());
    for (std::size_t f = 0; f < closed.size(); ++f) {
        SCOPED_TRACE("file " + std::to_string(f));
        EXPECT_EQ(closed[f].slot.index, f) << "files are taken in order";
        EXPECT_EQ(closed[f].record.eseq, f + 1);
        EXPECT_EQ(closed[f].record.state, rfs::FileInUse);
        std::vector<rfs::index_event_info> events;
        uint32_t videoFrames = 0;
        for (const ClosedEvent& event : closed[f].events) {
            EXPECT_EQ(event.record.magic, rfs::kEventMagic) << "a part cut off by the file change is finished too";
            events.push_back(event.record);
            videoFrames += event.videoFrames;
        }
        EXPECT_EQ(events.size(), c.eventsPerFile[f]);
        EXPECT_EQ(videoFrames, c.videoFramesPerFile[f]);
        expectConsistentDataFile(track.files.reader(closed[f].slot), kSmallFile, closed[f].record, events);
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, TrackWriterFileChange, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TrackWriter, RefusesAGroupLargerThanAWholeFile) {
    WrittenTrack track;
    const TrackCase huge{"huge", "2026-12-01 09:00:00", "2026-12-01 09:00:05", 1, 5, 0, 70000, 10, {}, {}};
    EXPECT_THROW(writeTrack(track, huge), SimError);
}

TEST(TrackWriter, ReportsWhenTheStoreRunsOutOfFiles) {
    WrittenTrack track;
    track.ledger = DataFileLedger({1});
    try {
        writeTrack(track, kCases[0]);
        FAIL() << "a second file was handed out of a store with one";
    } catch (const SimError& e) {
        EXPECT_NE(std::string(e.what()).find("more data files"), std::string::npos) << e.what();
    }
}

// Two one-frame events whose frames would share a file, but not with the second event's thumbnail in
// front of them: that event must start the next file instead of being refused as too large.
TEST(TrackWriter, CountsAnSdCardEventsThumbnailWhenItChoosesTheFile) {
    constexpr DataFileLayout kSmallCard{kSmallFile.size, kSmallFile.mediaStart, kSmallFile.eventsPerFile,
                                        StoreKind::SdCard};
    const auto thumbnailAt = [](const char* time) {
        const auto jpeg = stillPictureJpeg(1, StreamKind::Main, rfs::toEpochSeconds(at(time)) * 1'000'000);
        return static_cast<uint32_t>(rfs::storedFrameLength(static_cast<uint32_t>(jpeg.size())));
    };
    const uint32_t first = thumbnailAt("2026-12-01 09:00:00");
    const uint32_t second = thumbnailAt("2026-12-01 09:00:01");
    // Room for data: up to the Iend slot below two 16-byte entries.
    const uint32_t room = kSmallCard.size - 3 * 16 - kSmallCard.mediaStart - first;
    const uint32_t frame = (room - second / 2) / 2 / 8 * 8;
    ASSERT_LE(2 * frame, room);
    ASSERT_GT(2 * frame + second, room);

    WrittenTrack track;
    const TrackCase c{"thumbnail",
                      "2026-12-01 09:00:00",
                      "2026-12-01 09:00:02",
                      1,
                      1,
                      1,
                      frame - static_cast<uint32_t>(rfs::kFrameHeaderSize),
                      0,
                      {},
                      {}};
    writeTrack(track, c, kSmallCard);
    const auto& closed = track.ledger.closedFiles();
    ASSERT_EQ(closed.size(), 2u);
    for (const ClosedDataFile& file : closed) {
        SCOPED_TRACE("file " + std::to_string(file.slot.index));
        ASSERT_EQ(file.events.size(), 1u);
        expectConsistentDataFile(track.files.reader(file.slot), kSmallCard, file.record, {file.events[0].record});
    }
}
