// Reading SD cards: time seeks over 16-byte key-frame entries, key-frame steps, the seek in an event
// read from the index, and thumbnails.
#include <memory>

#include "RecordFile.h"
#include "SdReaderFixture.h"
#include "StoredFrames.h"

namespace {

constexpr int kBufferSize = 1 << 20;

class SdRead : public SdReaderFixture {
protected:
    void SetUp() override {
        SdReaderFixture::SetUp();
        rfssim::Recording r = recording(1, at(1, 10, 0), at(1, 10, 1));
        r.eventSeconds = 30;
        store_ = write(card({r}), "card", &manifest_);
        ASSERT_EQ(attach(store_), 0);
        events_ = listed(0, at(1, 0, 0), at(1, 23, 59), search_);
        ASSERT_EQ(events_.size(), 2u);
        reader_ = rfs_read_start(0);
        ASSERT_GE(reader_, 0);
        stored_ = readStoredFrames(dataFile(), events_[0].data_start, events_[0].data_len);
    }

    std::filesystem::path dataFile() const { return store_.path / "file0"; }

    // The header of the first record a read from the reader's position delivers.
    rfs::KVFrameHeader firstRecord(int32_t (*read)(int, void*, int, int*, rfs_read_pos_t*)) {
        int skip = -1;
        const int32_t n = read(reader_, buffer_.get(), kBufferSize, &skip, nullptr);
        EXPECT_GT(n, skip);
        return rfs::readFrameHeader(buffer_.get() + skip);
    }

    TestStore store_;
    rfssim::StoreManifest manifest_;
    std::vector<rfs_sd_event_t> events_;
    std::vector<StoredFrame> stored_;
    int search_ = -1;
    int reader_ = -1;
    std::unique_ptr<unsigned char[]> buffer_{new unsigned char[kBufferSize]};
};

TEST_F(SdRead, TimeSeekStartsAtTheKeyFrameOfThe16ByteEntries) {
    // tinyVideo: a key frame every 2 s; 10:00:05 lies between those of 10:00:04 and 10:00:06.
    const rfs_time_t target = rfs::toRfsTime(rfs::packTime(at(1, 10, 0, 5)));
    struct Case {
        int direction;
        int second;
    };
    for (const Case c : {Case{1, 4}, Case{0, 6}}) {
        SCOPED_TRACE(c.direction);
        ASSERT_EQ(rfs_tseek(reader_, &target, c.direction, 0, &events_[0]), 0);
        const rfs::KVFrameHeader h = firstRecord(rfs_read);
        EXPECT_EQ(h.frameType, rfs::FrameI);
        EXPECT_EQ(rfs::captureCalendarTime(h), at(1, 10, 0, c.second));
    }
}

TEST_F(SdRead, SequentialReadDeliversTheEventsRecordsAsStored) {
    ASSERT_EQ(rfs_tseek(reader_, &events_[0].start, 1, 0, &events_[0]), 0);
    std::vector<unsigned char> delivered;
    for (;;) {
        int skip = 0;
        const int32_t n = rfs_read(reader_, buffer_.get(), kBufferSize, &skip, nullptr);
        ASSERT_GE(n, 0);
        if (n == 0)
            break;
        delivered.insert(delivered.end(), buffer_.get() + skip, buffer_.get() + n);
    }
    std::vector<unsigned char> expected(events_[0].data_len);
    std::ifstream in(dataFile(), std::ios::binary);
    in.seekg(events_[0].data_start);
    in.read(reinterpret_cast<char*>(expected.data()), static_cast<std::streamsize>(expected.size()));
    EXPECT_EQ(delivered, expected);
}

TEST_F(SdRead, KeyFrameStepsFindTheFrameLengthInItsHeader) {
    std::vector<const StoredFrame*> keyFrames;
    for (const StoredFrame& f : stored_)
        if (f.header.frameType == rfs::FrameI)
            keyFrames.push_back(&f);
    ASSERT_GE(keyFrames.size(), 3u);
    ASSERT_EQ(rfs_tseek(reader_, &events_[0].start, 1, 0, &events_[0]), 0);

    int skip = 0;
    int32_t n = rfs_get_current_kframe(reader_, buffer_.get(), kBufferSize, &skip, nullptr);
    ASSERT_EQ(n - skip, static_cast<int>(keyFrames[0]->length));
    n = rfs_get_next_kframe(reader_, buffer_.get(), kBufferSize, &skip, 2, nullptr);
    ASSERT_EQ(n - skip, static_cast<int>(keyFrames[2]->length));
    EXPECT_EQ(rfs::readFrameHeader(buffer_.get() + skip).frameNo, keyFrames[2]->header.frameNo);
    n = rfs_get_prev_kframe(reader_, buffer_.get(), kBufferSize, &skip, 1, nullptr);
    ASSERT_EQ(n - skip, static_cast<int>(keyFrames[1]->length));
    EXPECT_EQ(rfs::readFrameHeader(buffer_.get() + skip).frameNo, keyFrames[1]->header.frameNo);
}

TEST_F(SdRead, IndexSeekNeedsNoSearchThatListsTheEvent) {
    const rfs_sd_event_t second = events_[1];
    ASSERT_EQ(rfs_find_stop(search_), 0);
    const rfs_time_t target = rfs::toRfsTime(rfs::packTime(at(1, 10, 0, 40)));
    EXPECT_EQ(rfs_tseek(reader_, &target, 1, 0, &second), -4);

    // Only the record id and the event number count: the rest of the record may be stale.
    rfs_sd_event_t named{};
    named.record_id = second.record_id;
    named.event_idx = second.event_idx;
    ASSERT_EQ(rfs_tseek_for_index(reader_, &target, 1, 0, &named), 0);
    const rfs::KVFrameHeader h = firstRecord(rfs_read);
    EXPECT_EQ(h.frameType, rfs::FrameI);
    EXPECT_EQ(rfs::captureCalendarTime(h), at(1, 10, 0, 40));

    named.event_idx = 7;  // no such event
    EXPECT_LT(rfs_tseek_for_index(reader_, &target, 1, 0, &named), 0);
    EXPECT_EQ(rfs_tseek_for_index(64, &target, 1, 0, &second), -4);
    EXPECT_TRUE(said("fs find start invalid fd!\n"));
}

TEST_F(SdRead, ThumbnailIsTheTRecordAtTheEventsOffset) {
    const rfssim::WrittenEvent& written = manifest_.files.at(0).events.at(0);
    int size = kBufferSize;
    ASSERT_EQ(rfs_get_first_thumbnail(0, 0, events_[0].record_id, events_[0].thumbnail_offset, 0, 0, 0, 0,
                                      buffer_.get(), &size),
              0);
    EXPECT_EQ(static_cast<uint32_t>(size), written.thumbnailLength);
    const rfs::KVFrameHeader h = rfs::readFrameHeader(buffer_.get());
    EXPECT_EQ(h.frameType, rfs::FrameThumbnail);
    EXPECT_EQ(buffer_[rfs::kFrameHeaderSize], 0xff);  // a JPEG starts FF D8
    EXPECT_EQ(buffer_[rfs::kFrameHeaderSize + 1], 0xd8);

    int small = 64;
    EXPECT_EQ(rfs_get_first_thumbnail(0, 0, events_[0].record_id, events_[0].thumbnail_offset, 0, 0, 0, 0,
                                      buffer_.get(), &small),
              -1);
    EXPECT_TRUE(said("buf is small, buf_len=64, framelen=" + std::to_string(size) + "\n"));
}

TEST_F(SdRead, ThumbnailOffsetsAreCheckedAndLowOnesRaised) {
    // A thumbnail record copied to 4096 is what an offset below 4096 reads.
    std::vector<char> record(manifest_.files.at(0).events.at(0).thumbnailLength);
    {
        std::ifstream in(dataFile(), std::ios::binary);
        in.seekg(events_[0].thumbnail_offset);
        in.read(record.data(), static_cast<std::streamsize>(record.size()));
        std::fstream out(dataFile(), std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(4096);
        out.write(record.data(), static_cast<std::streamsize>(record.size()));
    }
    int size = kBufferSize;
    ASSERT_EQ(rfs_get_first_thumbnail(0, 0, events_[0].record_id, 100, 0, 0, 0, 0, buffer_.get(), &size), 0);
    EXPECT_TRUE(said("firstThnOff set to 4096\n"));
    EXPECT_EQ(size, static_cast<int>(record.size()));

    struct Case {
        uint32_t recordId;
        uint32_t offset;
        const char* message;
    };
    const Case refused[] = {
        {events_[0].record_id, events_[0].data_start, "FrameType=I\n"},
        {events_[0].record_id, 0x1400000, "first thumbnail offset out of range : 20971520\n"},
        {0x10000000, 4096, "disk_id error,disk_id = 16\n"},
        {0x01000000, 4096, "disk not added\n"},
        {(events_[0].record_id & 0xffff0000) | 0xff, 4096, "open failed\n"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.message);
        size = kBufferSize;
        EXPECT_EQ(rfs_get_first_thumbnail(0, 0, c.recordId, c.offset, 0, 0, 0, 0, buffer_.get(), &size), -1);
        EXPECT_TRUE(said(c.message));
    }
}

}  // namespace
