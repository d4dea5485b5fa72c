// Reading listed events: time seek, sequential reads, key-frame stepping and virtual key frames,
// checked against the bytes and key-frame index of the data file itself.
#include <cstdlib>
#include <memory>

#include "ReaderFixture.h"
#include "rfs/FrameRecord.h"

namespace fs = std::filesystem;

namespace {

using rfs::CalendarTime;

constexpr int kBufferSize = 64 * 1024;

struct AlignedBuffer {
    std::unique_ptr<unsigned char, decltype(&std::free)> bytes{
        static_cast<unsigned char*>(std::aligned_alloc(4096, kBufferSize)), &std::free};
    unsigned char* get() { return bytes.get(); }
};

// Channel 1: two events in one file; channel 2: a GOP of 4 s with a virtual key frame every second.
rfssim::Scenario readScenario(StoreLayout layout) {
    rfssim::Scenario s;
    s.layout = layout;
    s.channels = 2;
    s.video = tinyVideo();
    s.recordings = {recording(1, at(1, 9, 0), at(1, 9, 1)), recording(1, at(1, 9, 2), at(1, 9, 2, 30))};
    s.video.gop = 10;
    return s;
}

rfssim::Scenario virtualScenario() {
    rfssim::Scenario s;
    s.channels = 1;
    s.video = tinyVideo();
    s.video.gop = 20;
    rfssim::Recording r = recording(1, at(1, 10, 0), at(1, 10, 0, 20));
    r.virtualKeyFrameEvery = 5;
    s.recordings = {r};
    return s;
}

// The data file as the test reads it, independently of the reader.
struct DataFileView {
    fs::path path;
    uint64_t base = 0;

    std::vector<unsigned char> bytes(uint64_t position, std::size_t length) const {
        std::vector<unsigned char> out(length);
        std::ifstream in(path, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(base + position));
        in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(length));
        return out;
    }
    rfs::iframe_info_t entry(int64_t n) const { return readRecord<rfs::iframe_info_t>(path, base + n * 32); }
};

class StreamRead : public ReaderFixture {
protected:
    void open(const rfssim::Scenario& scenario) {
        store_ = write(scenario, "store", &manifest_);
        ASSERT_EQ(attach(store_), 0);
        searchTheFirst();
        ASSERT_GE(search_, 0);
        reader_ = KVrfs_read_start_hdd(0);
        ASSERT_GE(reader_, 0);
    }

    // Every channel's events on the 1st.
    void searchTheFirst() {
        rfs_find_param_t param{};
        param.search_type = 3;
        param.record_type = -1;
        param.chnCnt = 8;
        param.chnBit = &allChannels_;
        param.start = rfs::toRfsTime(rfs::packTime(at(1, 0, 0)));
        param.end = rfs::toRfsTime(rfs::packTime(at(1, 23, 59, 59)));
        search_ = KVrfs_find_start_hdd(&param, nullptr);
    }

    rfs_event_t& event(int slot, int i) {
        rfs_event_list_t list{};
        EXPECT_EQ(KVrfs_get_event_hdd(search_, slot, &list), 0);
        EXPECT_LT(i, list.count);
        return list.list[i];
    }

    DataFileView view(const rfs_event_t& e) const {
        const uint32_t file = e.record_id & 0xffff;
        if (store_.directory())
            return {store_.path / ("file" + std::to_string(file)), 0};
        return {store_.path, rfs::dataFileOffset(store_.param(), 0, file)};
    }

    // Key-frame entries of the event, oldest first.
    std::vector<rfs::iframe_info_t> entries(const rfs_event_t& e) const {
        std::vector<rfs::iframe_info_t> out;
        for (int64_t n = e.kf_top / 32 - 1; n >= e.kf_low / 32; --n)
            out.push_back(view(e).entry(n));
        return out;
    }

    int32_t seek(const rfs_event_t& e, CalendarTime t, int direction, int endAtLastKeyFrame = 0) {
        const rfs_time_t time = rfs::toRfsTime(rfs::packTime(t));
        return KVrfs_tseek_hdd(reader_, &time, direction, 0, &e, endAtLastKeyFrame);
    }

    // Everything sequential reads deliver until the end of the event, skips removed.
    std::vector<unsigned char> readToEnd(int bufferSize = kBufferSize) {
        std::vector<unsigned char> out;
        for (;;) {
            int skip = -1;
            const int32_t n = KVrfs_read_hdd(reader_, buffer_.get(), bufferSize, &skip, nullptr);
            EXPECT_GE(n, 0);
            if (n <= 0)
                return out;
            out.insert(out.end(), buffer_.get() + skip, buffer_.get() + n);
        }
    }

    // The frame header at the start of what a read delivered.
    rfs::KVFrameHeader firstFrame(int skip) { return rfs::readFrameHeader(buffer_.get() + skip); }

    TestStore store_;
    rfssim::StoreManifest manifest_;
    uint8_t allChannels_ = 0xff;
    int search_ = -1;
    int reader_ = -1;
    AlignedBuffer buffer_;
};

std::string secondOf(uint64_t microseconds) {
    return rfs::formatTime(rfs::fromEpochSeconds(static_cast<int64_t>(microseconds / 1000000)));
}
std::string text(rfs::PackedTime t) { return rfs::formatTime(rfs::unpackTime(t)); }

class StreamReadLayouts : public StreamRead, public ::testing::WithParamInterface<StoreLayout> {};

}  // namespace

TEST_P(StreamReadLayouts, ReadsEveryByteOfAnEventFromItsFirstKeyFrame) {
    open(readScenario(GetParam()));
    for (int i = 0; i < 2; ++i) {
        const rfs_event_t e = event(0, i);
        for (int bufferSize : {kBufferSize, 8192}) {
            ASSERT_EQ(seek(e, rfs::unpackTime(rfs::packTime(e.start)), 1), 0);
            const std::vector<unsigned char> read = readToEnd(bufferSize);
            EXPECT_EQ(read, view(e).bytes(e.data_start, e.data_len)) << "event " << i << " buffer " << bufferSize;
            int skip = 0;
            EXPECT_EQ(KVrfs_read_hdd(reader_, buffer_.get(), bufferSize, &skip, nullptr), 0) << "stays at the end";
        }
    }
    EXPECT_NE(event(0, 1).data_start % 4096, 0u) << "the second event shows the skip";
}

TEST_P(StreamReadLayouts, SeeksToTheNearestKeyFrameInEitherDirection) {
    open(readScenario(GetParam()));
    const rfs_event_t e = event(0, 0);
    const std::vector<rfs::iframe_info_t> keys = entries(e);
    ASSERT_EQ(keys.size(), 30u);  // one I frame every 2 s for a minute
    struct Case {
        CalendarTime target;
        int direction;
        int32_t result;
        int keyFrame;  // index into keys, oldest first
    };
    const Case cases[] = {
        {at(1, 9, 0, 0), 1, 0, 0},   {at(1, 9, 0, 0), 0, 0, 0},   {at(1, 9, 0, 10), 1, 0, 5},
        {at(1, 9, 0, 10), 0, 0, 5},  {at(1, 9, 0, 11), 1, 0, 5},  {at(1, 9, 0, 11), 0, 0, 6},
        {at(1, 9, 0, 59), 1, 0, 29}, {at(1, 9, 0, 59), 0, -1, 0}, {at(1, 9, 0, 33), 1, 0, 16},
        {at(1, 9, 0, 33), 0, 0, 17}, {at(1, 9, 1, 0), 1, -10, 0}, {at(1, 8, 59, 59), 0, -10, 0},
    };
    for (const Case& c : cases) {
        const std::string what = rfs::formatTime(c.target) + " direction " + std::to_string(c.direction);
        ASSERT_EQ(seek(e, c.target, c.direction), c.result) << what;
        if (c.result != 0)
            continue;
        int skip = -1;
        ASSERT_GT(KVrfs_read_hdd(reader_, buffer_.get(), kBufferSize, &skip, nullptr), 0) << what;
        const rfs::iframe_info_t& key = keys[c.keyFrame];
        EXPECT_EQ(static_cast<uint32_t>(skip), key.offset % 4096) << what;
        const rfs::KVFrameHeader h = firstFrame(skip);
        EXPECT_EQ(h.frameType, 'I') << what;
        EXPECT_EQ(secondOf(h.Time), text(key.time)) << what;
    }
}

TEST_P(StreamReadLayouts, StepsFromKeyFrameToKeyFrame) {
    open(readScenario(GetParam()));
    const rfs_event_t e = event(0, 0);
    const std::vector<rfs::iframe_info_t> keys = entries(e);
    auto step = [&](bool next, std::string& time) {
        int skip = 0;
        const int32_t n = next ? KVrfs_get_next_kframe_hdd(reader_, buffer_.get(), kBufferSize, &skip, 1, nullptr)
                               : KVrfs_get_prev_kframe_hdd(reader_, buffer_.get(), kBufferSize, &skip, 1, nullptr);
        if (n > 0) {
            const rfs::KVFrameHeader h = firstFrame(skip);
            EXPECT_EQ(h.frameType, 'I');
            EXPECT_EQ(static_cast<uint64_t>(n - skip), rfs::storedFrameLength(h.framesize)) << "exactly one frame";
            time = secondOf(h.Time);
        }
        return n;
    };
    ASSERT_EQ(seek(e, at(1, 9, 0), 1), 0);
    std::string time;
    for (std::size_t i = 1; i < keys.size(); ++i) {
        ASSERT_GT(step(true, time), 0) << i;
        EXPECT_EQ(time, text(keys[i].time));
    }
    EXPECT_EQ(step(true, time), 0) << "past the newest key frame";

    ASSERT_EQ(seek(e, at(1, 9, 0, 59), 1), 0);
    for (std::size_t i = keys.size() - 1; i-- > 0;) {
        ASSERT_GT(step(false, time), 0) << i;
        EXPECT_EQ(time, text(keys[i].time));
    }
    EXPECT_EQ(step(false, time), 0) << "past the oldest key frame";

    // Two at a time.
    ASSERT_EQ(seek(e, at(1, 9, 0), 1), 0);
    int skip = 0;
    ASSERT_GT(KVrfs_get_next_kframe_hdd(reader_, buffer_.get(), kBufferSize, &skip, 2, nullptr), 0);
    EXPECT_EQ(secondOf(firstFrame(skip).Time), text(keys[2].time));
}

TEST_P(StreamReadLayouts, CanStopAtTheLastKeyFrame) {
    open(readScenario(GetParam()));
    const rfs_event_t e = event(0, 0);
    const rfs::iframe_info_t last = entries(e).back();
    ASSERT_EQ(seek(e, at(1, 9, 0), 1, 1), 0);
    const std::vector<unsigned char> read = readToEnd();
    EXPECT_EQ(read.size(), last.offset + last.length - e.data_start);
}

INSTANTIATE_TEST_SUITE_P(Layouts, StreamReadLayouts, ::testing::Values(StoreLayout::RawImage, StoreLayout::Directory),
                         [](const auto& info) { return info.param == StoreLayout::RawImage ? "Raw" : "Directory"; });

TEST_F(StreamRead, DeliversTheReferenceOfAVirtualKeyFrameFirst) {
    open(virtualScenario());
    const rfs_event_t e = event(0, 0);
    const std::vector<rfs::iframe_info_t> keys = entries(e);
    ASSERT_GE(keys.size(), 4u);
    const rfs::iframe_info_t v = keys[2];  // the second virtual key frame of the first GOP
    ASSERT_NE(v.ref_offset, v.offset);
    ASSERT_EQ(v.ref_offset, keys[0].offset);

    ASSERT_EQ(seek(e, rfs::unpackTime(v.time), 1), 0);
    rfs_time_t when{};
    int skip = 0;
    int32_t n = KVrfs_read_hdd(reader_, buffer_.get(), kBufferSize, &skip, &when);
    ASSERT_GT(n, 0);
    EXPECT_EQ(firstFrame(skip).frameType, 'I');
    EXPECT_EQ(static_cast<uint32_t>(n - skip), v.ref_length) << "the reference alone";
    EXPECT_EQ(rfs::packTime(when), v.time);
    n = KVrfs_read_hdd(reader_, buffer_.get(), kBufferSize, &skip, &when);
    ASSERT_GT(n, 0);
    EXPECT_EQ(static_cast<uint32_t>(skip), v.offset % 4096);
    EXPECT_EQ(firstFrame(skip).frameType, 'V');
    EXPECT_EQ(rfs::packTime(when), 0u);

    // The current key frame: the reference with the time, then the frame, then the frame again.
    ASSERT_EQ(seek(e, rfs::unpackTime(v.time), 1), 0);
    const char expected[] = {'I', 'V', 'V'};
    for (char type : expected) {
        when = rfs_time_t{};
        ASSERT_GT(KVrfs_get_current_kframe_hdd(reader_, buffer_.get(), kBufferSize, &skip, &when), 0);
        EXPECT_EQ(firstFrame(skip).frameType, type);
        EXPECT_EQ(rfs::packTime(when), type == 'I' ? v.time : 0u);
    }
    // A sequential read after the reference goes on at the virtual key frame, not behind the reference.
    ASSERT_EQ(seek(e, rfs::unpackTime(v.time), 1), 0);
    ASSERT_GT(KVrfs_get_current_kframe_hdd(reader_, buffer_.get(), kBufferSize, &skip, nullptr), 0);
    ASSERT_GT(KVrfs_read_hdd(reader_, buffer_.get(), kBufferSize, &skip, nullptr), 0);
    EXPECT_EQ(static_cast<uint32_t>(skip), v.offset % 4096);
    EXPECT_EQ(firstFrame(skip).frameType, 'V');

    // The next virtual key frame shares the reference already delivered: it comes at once.
    ASSERT_EQ(seek(e, rfs::unpackTime(v.time), 1), 0);
    ASSERT_GT(KVrfs_get_current_kframe_hdd(reader_, buffer_.get(), kBufferSize, &skip, nullptr), 0);
    ASSERT_GT(KVrfs_get_current_kframe_hdd(reader_, buffer_.get(), kBufferSize, &skip, nullptr), 0);
    ASSERT_GT(KVrfs_get_next_kframe_hdd(reader_, buffer_.get(), kBufferSize, &skip, 1, nullptr), 0);
    EXPECT_EQ(firstFrame(skip).frameType, 'V');
    EXPECT_EQ(secondOf(firstFrame(skip).Time), text(keys[3].time));
}

TEST_F(StreamRead, RefusesWhatItCannotRead) {
    open(readScenario(StoreLayout::RawImage));
    rfs_event_t e = event(0, 0);
    int skip = 0;
    ASSERT_EQ(seek(event(0, 1), at(1, 9, 2), 1), 0);
    EXPECT_EQ(KVrfs_read_hdd(reader_, buffer_.get(), 1000, &skip, nullptr), -25);
    EXPECT_EQ(KVrfs_read_hdd(reader_, buffer_.get(), 0, &skip, nullptr), -25);
    ASSERT_GT(KVrfs_read_hdd(reader_, buffer_.get(), kBufferSize, &skip, nullptr), 0) << "refused reads move nothing";
    EXPECT_EQ(static_cast<uint32_t>(skip), event(0, 1).data_start % 4096);
    EXPECT_EQ(firstFrame(skip).frameType, 'I');
    EXPECT_EQ(KVrfs_read_hdd(reader_, nullptr, kBufferSize, &skip, nullptr), -11);
    EXPECT_EQ(KVrfs_read_hdd(64, buffer_.get(), kBufferSize, &skip, nullptr), -4);
    EXPECT_EQ(KVrfs_get_next_kframe_hdd(reader_, buffer_.get(), kBufferSize, &skip, 0, nullptr), -4);
    EXPECT_EQ(KVrfs_get_current_kframe_hdd(reader_, nullptr, kBufferSize, &skip, nullptr), -11);
    EXPECT_EQ(KVrfs_tseek_hdd(64, &e.start, 1, 0, &e, 0), -4);

    rfs_event_t unlisted = e;
    unlisted.index = 99;
    EXPECT_EQ(seek(unlisted, at(1, 9, 0), 1), -23);
    unlisted = e;
    unlisted.slot = 250;
    EXPECT_EQ(seek(unlisted, at(1, 9, 0), 1), -23);
    rfs_event_t broken = e;
    broken.kf_top = 0x7fffffe0;  // past the end of the data file
    EXPECT_EQ(seek(broken, at(1, 9, 0), 1), -10);
    rfs_event_t noKeyFrames = e;
    noKeyFrames.kf_low = noKeyFrames.kf_top;
    EXPECT_EQ(seek(noKeyFrames, at(1, 9, 0), 1), -10);

    e.invalid = 1;  // only the listed record counts
    EXPECT_EQ(seek(e, at(1, 9, 0), 1), 0);
    event(0, 0).invalid = 1;
    EXPECT_EQ(seek(e, at(1, 9, 0), 1), -24);
    event(0, 0).invalid = 0;

    ASSERT_EQ(KVrfs_remove_disk_hdd(0), 0);
    EXPECT_EQ(seek(e, at(1, 9, 0), 1), -6);
}

TEST_F(StreamRead, AReadHandleNeverKeepsTheFilesOfARemovedDisk) {
    open(readScenario(StoreLayout::RawImage));
    ASSERT_EQ(seek(event(0, 0), at(1, 9, 0), 1), 0);
    ASSERT_GT(readToEnd().size(), 0u);

    // Another medium under the same disk id, with an event of the same record id.
    ASSERT_EQ(KVrfs_remove_disk_hdd(0), 0);
    rfssim::Scenario other = virtualScenario();
    other.layout = StoreLayout::Directory;
    store_ = write(other, "other");
    ASSERT_EQ(attach(store_), 0);
    KVrfs_find_stop_hdd(search_);
    searchTheFirst();
    const rfs_event_t e = event(0, 0);
    ASSERT_EQ(seek(e, at(1, 10, 0), 1), 0);
    EXPECT_EQ(readToEnd(), view(e).bytes(e.data_start, e.data_len));
}

TEST_F(StreamRead, AMissingDataFileCannotBeOpened) {
    open(readScenario(StoreLayout::Directory));
    const rfs_event_t e = event(0, 0);
    fs::remove(store_.path / ("file" + std::to_string(e.record_id & 0xffff)));
    EXPECT_EQ(seek(e, at(1, 9, 0), 1), -13);
}

TEST_F(StreamRead, HandsOutAtMost64ReadHandles) {
    open(readScenario(StoreLayout::RawImage));
    for (int h = 1; h < 64; ++h)
        ASSERT_EQ(KVrfs_read_start_hdd(h), h);
    EXPECT_EQ(KVrfs_read_start_hdd(0), -2);
    EXPECT_EQ(KVrfs_read_stop_hdd(64), -4);
    EXPECT_EQ(KVrfs_read_stop_hdd(30), 0);
    EXPECT_EQ(KVrfs_read_start_hdd(0), 30);
}

namespace {

// Cuts large reads short at a chosen absolute offset, as a medium that ends there would.
struct ShortMedium {
    static inline uint64_t end = 0;
    static ssize_t pread(int fd, void* buffer, std::size_t length, off_t offset) {
        if (length == kBufferSize && static_cast<uint64_t>(offset) + length > end)
            length = end > static_cast<uint64_t>(offset) ? end - offset : 0;
        return ::pread(fd, buffer, length, offset);
    }
};

}  // namespace

TEST_F(StreamRead, AShortReadThatReachesTheEventsEndDeliversItsLastBytes) {
    open(readScenario(StoreLayout::RawImage));
    const rfs_event_t e = event(0, 1);
    const DataFileView file = view(e);
    const std::vector<unsigned char> wanted = file.bytes(e.data_start, e.data_len);
    kvrfs::setIoShim(kvrfs::IoShim{ShortMedium::pread, ::pwrite});

    ShortMedium::end = file.base + e.data_start + e.data_len;
    ASSERT_EQ(seek(e, at(1, 9, 2), 1), 0);
    EXPECT_EQ(readToEnd(), wanted);

    ShortMedium::end = file.base + e.data_start + e.data_len / 2;
    ASSERT_EQ(seek(e, at(1, 9, 2), 1), 0);
    int skip = 0;
    int32_t n = 0;
    while ((n = KVrfs_read_hdd(reader_, buffer_.get(), kBufferSize, &skip, nullptr)) > 0) {
    }
    EXPECT_EQ(n, -15) << "a medium ending inside the event is an error";
    kvrfs::resetIoShim();
}
