// An SD card pulled while the recorder was writing: attach closes its open file with the card's
// record sizes and leaves the thumbnails alone, and the last recording can be found and read.
#include "RecordFile.h"
#include "SdReaderFixture.h"
#include "StoredFrames.h"

namespace {

constexpr uint64_t kDirectoryIndexArea = 4096;  // where mkrfs puts partition 0's area in each index file

class SdRepair : public SdReaderFixture {
protected:
    void SetUp() override {
        SdReaderFixture::SetUp();
        rfssim::Recording finished = recording(1, at(1, 9, 0), at(1, 9, 1));
        rfssim::Recording cut = recording(1, at(1, 10, 0), at(1, 10, 1));
        cut.newFile = true;
        cut.eventSeconds = 20;
        cut.powerLoss = rfssim::PowerLoss{};
        store_ = write(card({finished, cut}), "card", &manifest_);
        param_ = store_.param();
    }

    uint64_t fileRecordOffset(uint32_t fileIndex) const {
        return kDirectoryIndexArea + param_.file_table_offset + uint64_t{fileIndex} * sizeof(rfs::index_file_info_sd);
    }
    uint64_t eventRecordOffset(uint32_t fileIndex, uint32_t k) const {
        return kDirectoryIndexArea + rfs::eventBlockOffset(param_.event_table_offset, fileIndex, 256) +
               k * sizeof(rfs::index_event_info);
    }

    TestStore store_;
    rfssim::StoreManifest manifest_;
    rfs::disk_param_t param_{};
};

TEST_F(SdRepair, ClosesTheOpenFileWithTheCardLayouts) {
    const rfssim::WrittenFile& open = manifest_.files.at(1);
    ASSERT_EQ(open.eseq, rfs::kOpenFileSeq);
    const rfssim::WrittenEvent& writing = open.events.back();
    ASSERT_EQ(writing.magic, rfs::kEventWritingMagic);
    const uint32_t k = writing.eventNo - 1;
    // The bytes after the shared fields of the file record are the card's: the repair keeps them.
    for (int copy = 0; copy < 4; ++copy) {
        auto record = readRecord<rfs::index_file_info_sd>(store_.indexFile(copy), fileRecordOffset(open.fileIndex));
        std::fill(std::begin(record.reserved112), std::end(record.reserved112), uint8_t{0x5a});
        writeRecord(store_.indexFile(copy), fileRecordOffset(open.fileIndex), record);
    }

    ASSERT_EQ(attach(store_), 0);
    EXPECT_TRUE(said("add disk repair record:" + store_.path.string() + " part:0 sucess!\n"));

    const std::filesystem::path index = store_.indexFile(0);
    const auto file = readRecord<rfs::index_file_info_sd>(index, fileRecordOffset(open.fileIndex));
    EXPECT_EQ(file.common.state, rfs::FileRepaired);
    EXPECT_NE(file.common.eseq, rfs::kOpenFileSeq);
    EXPECT_EQ(file.common.event_nr, k + 1);
    EXPECT_EQ(file.common.mobit_end, open.mobitEnd);  // no motion bits on a card
    EXPECT_EQ(file.reserved112[7], 0x5a);
    // The neighbouring record was not overwritten by a record of the wrong size.
    const auto neighbour = readRecord<rfs::index_file_info_sd>(index, fileRecordOffset(open.fileIndex + 1));
    EXPECT_EQ(neighbour.common.magic, rfs::kFileMagic);
    EXPECT_EQ(neighbour.common.file_no, open.fileIndex + 2);

    const auto event = readRecord<rfs::index_event_info>(index, eventRecordOffset(open.fileIndex, k));
    EXPECT_EQ(event.magic, rfs::kEventMagic);
    EXPECT_EQ(event.mobit_start, writing.thumbnailOffset);
    EXPECT_EQ(event.mobit_end, writing.thumbnailLength);
    EXPECT_EQ(event.kf_low, writing.finishedKfLow);
    // The event now ends after its newest key frame, whose length came from its frame header.
    const std::vector<StoredFrame> frames =
        readStoredFrames(store_.path / ("file" + std::to_string(open.fileIndex)), event.data_start, event.data_len);
    ASSERT_FALSE(frames.empty());
    const uint32_t newestKeyFrame =
        readRecord<rfs::iframe_info_sd_t>(store_.path / ("file" + std::to_string(open.fileIndex)), event.kf_low)
            .index_data_start;
    EXPECT_EQ(frames.back().offset, newestKeyFrame);
    EXPECT_EQ(frames.back().header.frameType, rfs::FrameI);
    EXPECT_EQ(frames.back().offset + frames.back().length, uint64_t{event.data_start} + event.data_len);
}

TEST_F(SdRepair, TheLastRecordingOfTheCardIsListedAndReadable) {
    ASSERT_EQ(attach(store_), 0);
    int handle = -1;
    const std::vector<rfs_sd_event_t> events = listed(0, at(1, 0, 0), at(1, 23, 59), handle);
    const std::size_t expected = 1 + manifest_.files.at(1).events.size();
    ASSERT_EQ(events.size(), expected);
    const rfs_sd_event_t& last = events.back();
    EXPECT_EQ(last.start.hour, 10);

    const int reader = rfs_read_start(0);
    ASSERT_GE(reader, 0);
    ASSERT_EQ(rfs_tseek(reader, &last.start, 1, 0, &last), 0);
    std::vector<unsigned char> buffer(1 << 20);
    int skip = 0;
    EXPECT_GT(rfs_read(reader, buffer.data(), static_cast<int>(buffer.size()), &skip, nullptr), skip);

    uint8_t bits[32] = {};
    ASSERT_EQ(rfs_is_chn_have_record(bits, last.start, last.end), 0);
    EXPECT_EQ(bits[0], 0x01);
}

}  // namespace
