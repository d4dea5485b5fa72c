// Picture searches, picture reads and the picture month search over simulated stores, compared with
// what the simulator wrote, in both access modes.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <stdexcept>
#include <tuple>

#include "ReaderFixture.h"
#include "SearchHandles.h"
#include "rfs/FrameRecord.h"
#include "rfs/PictureRecords.h"

namespace fs = std::filesystem;

namespace {

using rfs::CalendarTime;
using rfs::PackedTime;

constexpr int kBufferSize = 64 * 1024;

struct AlignedBuffer {
    std::unique_ptr<unsigned char, decltype(&std::free)> bytes{
        static_cast<unsigned char*>(std::aligned_alloc(4096, kBufferSize)), &std::free};
    unsigned char* get() { return bytes.get(); }
};

rfssim::PictureSeries series(int channel, CalendarTime from, CalendarTime to, int every, uint32_t types,
                             uint32_t externLength = 0) {
    return rfssim::PictureSeries{channel, from, to, every, types, externLength};
}

// Data files 0..3: channel 4 around midnight of 20 November (the partition's first pictures), then
// channels 1 and 2 on 1 December (channel 2 with 0x234 leading bytes), channel 3 on 2 December with
// leading bytes that push each frame record into a second block.
rfssim::Scenario pictureScenario(StoreLayout layout) {
    rfssim::Scenario s;
    s.layout = layout;
    s.channels = 4;
    s.video = tinyVideo();
    s.partitions = {rfssim::PartitionSettings{8, 0x0F}};
    s.pictures = {series(4, at(20, 23, 59, 58, 11), at(21, 0, 0, 2, 11), 1, rfs::RecNormal),
                  series(1, at(1, 9, 0), at(1, 9, 1), 10, rfs::RecNormal),
                  series(2, at(1, 9, 0, 5), at(1, 9, 1), 20, rfs::RecMotion, 0x234),
                  series(3, at(2, 10, 0), at(2, 10, 0, 3), 1, rfs::RecIo, 4000)};
    return s;
}

struct PictureSearch {
    rfs_find_param_t param{};
    uint8_t bits[8] = {};

    PictureSearch(uint8_t searchType, CalendarTime from, CalendarTime to, std::set<int> channels,
                  int32_t recordType = -1) {
        param.data_type = 1;
        param.search_type = searchType;
        param.record_type = recordType;
        param.chnCnt = 64;
        for (int c : channels)
            bits[c / 8] |= static_cast<uint8_t>(1u << (c % 8));
        param.start = rfs::toRfsTime(rfs::packTime(from));
        param.end = rfs::toRfsTime(rfs::packTime(to));
    }

    rfs_find_param_t* get() {
        param.chnBit = bits;
        return &param;
    }
};

std::vector<rfs_pic_t> picturesOf(int handle) {
    rfs_pic_list_t out{};
    EXPECT_EQ(KVrfs_get_pic_hdd(handle, 0, &out), 0);
    return std::vector<rfs_pic_t>(out.list, out.list + out.count);
}

auto fields(const rfs_pic_t& p) {
    return std::make_tuple(rfs::formatTime(rfs::unpackTime(rfs::packTime(p.time))), p.pic_chn, p.rec_type, p.position,
                           p.length, p.record_id, p.entry);
}

class Pictures : public ReaderFixture {
protected:
    void open(const rfssim::Scenario& scenario) {
        store_ = write(scenario, "store", &manifest_);
        ASSERT_EQ(attach(store_), 0);
    }

    int search(PictureSearch& search) { return KVrfs_find_start_hdd(search.get(), nullptr); }

    const rfssim::WrittenFile& fileOf(int storeChannel) const {
        for (const rfssim::WrittenFile& file : manifest_.files)
            if (file.type == rfs::PictureFile && file.storeChannel == storeChannel)
                return file;
        throw std::runtime_error("no picture file of channel " + std::to_string(storeChannel));
    }

    // What the store holds for a search, in the order the list must have.
    std::vector<rfs_pic_t> expected(CalendarTime from, CalendarTime to, const std::set<int>& channels,
                                    uint32_t mask) const {
        std::vector<rfs_pic_t> list;
        for (const rfssim::WrittenFile& file : manifest_.files) {
            if (file.type != rfs::PictureFile || !channels.contains(file.storeChannel))
                continue;
            for (const rfssim::WrittenPicture& picture : file.pictures) {
                const PackedTime t = rfs::packTime(picture.time);
                if (t < rfs::packTime(from) || t > rfs::packTime(to) || (picture.recType & mask) == 0)
                    continue;
                rfs_pic_t p{};
                p.time = rfs::toRfsTime(t);
                p.pic_chn = static_cast<uint8_t>(file.storeChannel);
                p.rec_type = picture.recType;
                p.position = picture.position;
                p.length = picture.length;
                p.record_id = static_cast<uint32_t>(file.partition) << 16 | file.fileIndex;
                p.entry = static_cast<uint8_t>(file.pictures.size() - 1 - picture.frameNo);
                list.push_back(p);
            }
        }
        std::stable_sort(list.begin(), list.end(), [](const rfs_pic_t& a, const rfs_pic_t& b) {
            return std::pair(rfs::packTime(a.time), a.pic_chn) < std::pair(rfs::packTime(b.time), b.pic_chn);
        });
        return list;
    }

    // Where a data file's bytes lie: its own file, or its range of the image.
    std::pair<fs::path, uint64_t> dataFile(uint32_t fileIndex) const {
        if (store_.directory())
            return {store_.path / ("file" + std::to_string(fileIndex)), 0};
        return {store_.path, rfs::dataFileOffset(store_.param(), 0, fileIndex)};
    }

    std::vector<unsigned char> fileBytes(uint32_t fileIndex, uint64_t position, std::size_t length) const {
        const auto [path, base] = dataFile(fileIndex);
        std::vector<unsigned char> out(length);
        std::ifstream in(path, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(base + position));
        in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(length));
        return out;
    }

    // The month search's answer, or an empty list when it fails.
    std::vector<int> markedDays(int month, const std::set<int>& channels) {
        PictureSearch monthSearch(0, at(15, 0, 0, 0, month), at(15, 0, 0, 0, month), channels);
        uint32_t days[31];
        std::fill(std::begin(days), std::end(days), 0xdeadbeef);
        EXPECT_EQ(KVrfs_find_start_hdd(monthSearch.get(), days), 64);
        std::vector<int> marked;
        for (int d = 0; d < 31; ++d) {
            EXPECT_TRUE(days[d] == 0 || days[d] == 1) << "day " << d + 1 << ": " << days[d];
            if (days[d] == 1)
                marked.push_back(d + 1);
        }
        return marked;
    }

    int32_t readPicture(int reader, const rfs_pic_t& picture, int length, int* leading) {
        return KVrfs_read_pic_hdd(reader, &picture, buffer_.get(), length, leading);
    }

    TestStore store_;
    rfssim::StoreManifest manifest_;
    AlignedBuffer buffer_;
};

class PictureLayouts : public Pictures, public ::testing::WithParamInterface<StoreLayout> {
protected:
    void SetUp() override {
        Pictures::SetUp();
        open(pictureScenario(GetParam()));
    }
};

const std::set<int> kAllChannels = {0, 1, 2, 3};

}  // namespace

TEST_P(PictureLayouts, ListsPicturesBySpanChannelAndType) {
    struct Case {
        const char* what;
        CalendarTime from;
        CalendarTime to;
        std::set<int> channels;
        int32_t mask;
        std::size_t count;
    };
    const Case cases[] = {
        {"all of December", at(1, 0, 0), at(31, 23, 59, 59), kAllChannels, -1, 12},
        {"both months", at(1, 0, 0, 0, 11), at(31, 23, 59, 59), kAllChannels, -1, 16},
        {"channel 2 only", at(1, 0, 0), at(31, 23, 59, 59), {1}, -1, 3},
        {"motion only", at(1, 0, 0), at(31, 23, 59, 59), kAllChannels, rfs::RecMotion, 3},
        {"normal and io", at(1, 0, 0), at(31, 23, 59, 59), kAllChannels, rfs::RecNormal | rfs::RecIo, 9},
        {"inside the 1st", at(1, 9, 0, 20), at(1, 9, 0, 45), kAllChannels, -1, 5},
        {"before everything", at(1, 0, 0, 0, 10), at(31, 0, 0, 0, 10), kAllChannels, -1, 0},
    };
    for (const Case& c : cases) {
        PictureSearch request(3, c.from, c.to, c.channels, c.mask);
        const int handle = search(request);
        ASSERT_GE(handle, 0) << c.what;
        const std::vector<rfs_pic_t> listed = picturesOf(handle);
        const std::vector<rfs_pic_t> wanted = expected(c.from, c.to, c.channels, static_cast<uint32_t>(c.mask));
        ASSERT_EQ(listed.size(), c.count) << c.what;
        ASSERT_EQ(wanted.size(), c.count) << c.what;
        for (std::size_t i = 0; i < listed.size(); ++i) {
            EXPECT_EQ(fields(listed[i]), fields(wanted[i])) << c.what << " #" << i;
            EXPECT_EQ(listed[i].index, static_cast<int>(i));
            EXPECT_EQ(listed[i].handle, handle);
            EXPECT_EQ(listed[i].pass, 0);
        }
        rfs_pic_list_t other{};
        EXPECT_EQ(KVrfs_get_pic_hdd(handle, 1, &other), 0);
        EXPECT_EQ(other.count, 0) << "every picture goes to slot 0";
        KVrfs_find_stop_hdd(handle);
    }
}

TEST_P(PictureLayouts, ARedundantCopyAddsNothing) {
    ASSERT_EQ(attach(store_, 1, 1, 0), 0);
    PictureSearch request(2, at(1, 0, 0), at(31, 23, 59, 59), kAllChannels);
    rfs_event_list_t events{};
    const int handle = KVrfs_find_start_hdd(request.get(), &events);
    ASSERT_GE(handle, 0);
    const std::vector<rfs_pic_t> listed = picturesOf(handle);
    EXPECT_EQ(listed.size(), 12u);
    EXPECT_TRUE(std::all_of(listed.begin(), listed.end(), [](const rfs_pic_t& p) { return p.record_id >> 24 == 0; }));
}

TEST_P(PictureLayouts, ReadsEachPictureAtItsExternLength) {
    PictureSearch request(3, at(1, 0, 0, 0, 11), at(31, 23, 59, 59), kAllChannels);
    const int handle = search(request);
    const int reader = KVrfs_read_start_hdd(0);
    ASSERT_GE(reader, 0);
    int withLeadingBytes = 0;
    for (const rfs_pic_t& picture : picturesOf(handle)) {
        const rfssim::WrittenFile& file = fileOf(picture.pic_chn);
        int leading = -1;
        const int32_t n = readPicture(reader, picture, kBufferSize, &leading);
        const uint32_t block = picture.position & ~0xfffu;
        ASSERT_EQ(n, static_cast<int32_t>(rfs::pictureBlockLength(picture.position, picture.length)));
        ASSERT_EQ(leading, static_cast<int>(picture.position & 0xfff));
        EXPECT_EQ(std::vector<unsigned char>(buffer_.get(), buffer_.get() + n), fileBytes(file.fileIndex, block, n))
            << "the whole blocks from " << block;

        const rfs::KVFrameHeader header = rfs::readFrameHeader(buffer_.get() + leading);
        EXPECT_TRUE(rfs::isFrameHeader(header));
        EXPECT_EQ(header.codec, rfs::CodecMjpeg);
        EXPECT_EQ(header.channel, picture.pic_chn);
        EXPECT_EQ(rfs::packTime(rfs::fromEpochSeconds(static_cast<int64_t>(header.Time / 1000000))),
                  rfs::packTime(picture.time));
        ASSERT_EQ(header.framesize, file.jpeg.size());
        EXPECT_TRUE(std::equal(file.jpeg.begin(), file.jpeg.end(), buffer_.get() + leading + rfs::kFrameHeaderSize));
        withLeadingBytes += leading == 0x234 ? 1 : 0;
    }
    EXPECT_EQ(withLeadingBytes, 3) << "channel 2's pictures start 564 bytes into their block";
}

TEST_P(PictureLayouts, ReturnsZeroWhenTheBufferIsTooSmall) {
    PictureSearch request(3, at(2, 0, 0), at(2, 23, 59, 59), {2});
    const int handle = search(request);
    const std::vector<rfs_pic_t> listed = picturesOf(handle);
    ASSERT_EQ(listed.size(), 3u);
    const int reader = KVrfs_read_start_hdd(0);
    int leading = -1;
    EXPECT_EQ(readPicture(reader, listed[0], 4096, &leading), 0);
    EXPECT_EQ(leading, 4000);
    EXPECT_TRUE(said("pic length is too long! externLength = 4000 len = " + std::to_string(listed[0].length) + "\n"));
    EXPECT_EQ(readPicture(reader, listed[0], 8192, &leading), 8192);
    EXPECT_EQ(rfs::readFrameHeader(buffer_.get() + 4000).FrameTag, rfs::KVFrameTag);
}

TEST_P(PictureLayouts, ReadsPicturesOfTwoFilesAlternately) {
    PictureSearch request(3, at(1, 0, 0), at(1, 23, 59, 59), {0, 1});
    const std::vector<rfs_pic_t> listed = picturesOf(search(request));
    std::vector<rfs_pic_t> first, second;
    for (const rfs_pic_t& p : listed)
        (p.pic_chn == 0 ? first : second).push_back(p);
    ASSERT_EQ(second.size(), 3u);
    ASSERT_NE(first[0].record_id, second[0].record_id);
    const int reader = KVrfs_read_start_hdd(0);
    for (std::size_t i = 0; i < second.size(); ++i) {
        for (const rfs_pic_t& picture : {first[i], second[i]}) {
            int leading = 0;
            ASSERT_GT(readPicture(reader, picture, kBufferSize, &leading), 0);
            const rfs::KVFrameHeader header = rfs::readFrameHeader(buffer_.get() + leading);
            EXPECT_TRUE(rfs::isFrameHeader(header)) << "channel " << int{picture.pic_chn} << " #" << i;
            EXPECT_EQ(header.channel, picture.pic_chn);
            EXPECT_EQ(header.frameNo, fileOf(picture.pic_chn).pictures.size() - 1 - picture.entry);
        }
    }
}

TEST_P(PictureLayouts, MonthSearchMarksTheDaysWithPictures) {
    struct Case {
        const char* what;
        int month;
        std::set<int> channels;
        std::vector<int> days;
    };
    // December's days lie before the day of the partition's first picture (20 November).
    const Case cases[] = {
        {"December", 12, kAllChannels, {1, 2}},
        {"December, channel 3", 12, {2}, {2}},
        {"December, channel 1", 12, {0}, {1}},
        {"November", 11, kAllChannels, {20, 21}},
        {"November without channel 4", 11, {0, 1, 2}, {}},
        {"October", 10, kAllChannels, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(markedDays(c.month, c.channels), c.days) << c.what;

    // In the month of the first picture, days before it are not counted.
    const rfssim::WrittenFile& november = fileOf(3);
    const auto [path, base] = dataFile(november.fileIndex);
    const rfs::pic_day_t early{26, 11, 4};
    writeRecord(path, base + november.picMonOffset + november.dayRecordSize, early);
    EXPECT_EQ(markedDays(11, kAllChannels), std::vector<int>{20});
}

TEST_P(PictureLayouts, SkipsDamagedPicMonBlocks) {
    const rfssim::WrittenFile& file = fileOf(2);  // the pictures of 2 December
    const auto [path, base] = dataFile(file.fileIndex);
    const auto original = readRecord<rfs::pic_mon_head_t>(path, base + rfs::kPicMonPosition);
    struct Case {
        const char* what;
        void (*damage)(rfs::pic_mon_head_t&);
        bool used;
    };
    const Case cases[] = {
        {"wrong text", [](rfs::pic_mon_head_t& h) { h.text[6] = 'X'; }, false},
        {"no day records", [](rfs::pic_mon_head_t& h) { h.writted_count = 0; }, false},
        {"offset 0", [](rfs::pic_mon_head_t& h) { h.pic_mon_offset = 0; }, false},
        {"offset below the block", [](rfs::pic_mon_head_t& h) { h.pic_mon_offset = 100; }, false},
        {"offset inside the header", [](rfs::pic_mon_head_t& h) { h.pic_mon_offset = 4096 + 8; }, false},
        {"offset beyond the block", [](rfs::pic_mon_head_t& h) { h.pic_mon_offset = 4096 + 0x80000; }, false},
        {"offset near 4 GiB", [](rfs::pic_mon_head_t& h) { h.pic_mon_offset = 0xfffffff0u; }, false},
        {"size 0", [](rfs::pic_mon_head_t& h) { h.pic_mon_size = 0; }, false},
        {"size shorter than a date", [](rfs::pic_mon_head_t& h) { h.pic_mon_size = 2; }, false},
        {"size beyond the block", [](rfs::pic_mon_head_t& h) { h.pic_mon_size = 0xffffffffu; }, false},
        {"count past the file", [](rfs::pic_mon_head_t& h) { h.writted_count = 0xffffffffu; }, false},
        {"count past the file for its size", [](rfs::pic_mon_head_t& h) { h.writted_count = 0x2000000u; }, false},
        {"another month", [](rfs::pic_mon_head_t& h) { h.pic_start = h.pic_end = rfs::packTime(at(2, 0, 0, 0, 11)); },
         false},
        {"records running into further blocks", [](rfs::pic_mon_head_t& h) { h.writted_count = 200000; }, true},
    };
    for (const Case& c : cases) {
        rfs::pic_mon_head_t damaged = original;
        c.damage(damaged);
        writeRecord(path, base + rfs::kPicMonPosition, damaged);
        lines_.clear();
        const std::vector<int> wanted = c.used ? std::vector<int>{1, 2} : std::vector<int>{1};
        EXPECT_EQ(markedDays(12, kAllChannels), wanted) << c.what;
        EXPECT_EQ(said("writted_count" + std::to_string(static_cast<int>(damaged.writted_count)) + "!\n"), !c.used)
            << c.what;
    }
    writeRecord(path, base + rfs::kPicMonPosition, original);
    EXPECT_EQ(markedDays(12, kAllChannels), (std::vector<int>{1, 2}));
}

TEST_P(PictureLayouts, RefusesBadListAndReadRequests) {
    PictureSearch request(3, at(1, 0, 0), at(31, 23, 59, 59), kAllChannels);
    const int handle = search(request);
    rfs_pic_list_t out{};
    EXPECT_EQ(KVrfs_get_pic_hdd(64, 0, &out), -4);
    EXPECT_EQ(KVrfs_get_pic_hdd(handle, 128, &out), -22);
    EXPECT_EQ(KVrfs_get_pic_hdd(handle, -1, &out), -22);
    EXPECT_EQ(KVrfs_get_pic_hdd(handle, 0, nullptr), -11);
    EXPECT_EQ(KVrfs_get_pic_hdd(handle + 1, 0, &out), -18) << "a free handle";
    PictureSearch recordings(3, at(1, 0, 0), at(31, 23, 59, 59), kAllChannels);
    recordings.param.data_type = 0;
    const int eventHandle = search(recordings);
    EXPECT_EQ(KVrfs_get_pic_hdd(eventHandle, 0, &out), -18) << "an event search";

    const rfs_pic_t good = picturesOf(handle)[0];
    const int reader = KVrfs_read_start_hdd(0);
    int leading = -1;
    EXPECT_EQ(readPicture(64, good, kBufferSize, &leading), -18);
    EXPECT_EQ(readPicture(reader + 1, good, kBufferSize, &leading), -18) << "a read handle not started";
    EXPECT_EQ(KVrfs_read_pic_hdd(reader, &good, nullptr, kBufferSize, &leading), -12);

    struct Case {
        const char* what;
        void (*change)(rfs_pic_t&);
        int32_t result;
    };
    const Case cases[] = {
        {"search handle out of range", [](rfs_pic_t& p) { p.handle = 64; }, -18},
        {"search handle free", [](rfs_pic_t& p) { p.handle = 63; }, -4},
        {"not in the list", [](rfs_pic_t& p) { p.index = 12; }, -23},
        {"negative list index", [](rfs_pic_t& p) { p.index = -1; }, -23},
        {"disk not attached", [](rfs_pic_t& p) { p.record_id |= 5u << 24; }, -6},
        {"file beyond the partition", [](rfs_pic_t& p) { p.record_id |= 0xfff0; }, -10},
        {"block beyond the file", [](rfs_pic_t& p) { p.position = 0xfffff000u; }, -10},
        {"length beyond the file", [](rfs_pic_t& p) { p.length = 0xfffff000u; }, -10},
    };
    for (const Case& c : cases) {
        rfs_pic_t bad = good;
        c.change(bad);
        leading = -1;
        EXPECT_EQ(readPicture(reader, bad, kBufferSize, &leading), c.result) << c.what;
        EXPECT_EQ(leading, 0) << c.what;
    }

    kvrfs::searchHandles()[handle].slots[0].pictures[0].invalid = 1;
    EXPECT_EQ(readPicture(reader, good, kBufferSize, &leading), -24) << "marked invalid";
}

INSTANTIATE_TEST_SUITE_P(Layouts, PictureLayouts, ::testing::Values(StoreLayout::RawImage, StoreLayout::Directory),
                         [](const auto& info) { return info.param == StoreLayout::Directory ? "dir" : "raw"; });

TEST_F(Pictures, KeepsTheEarliest5000OfMoreThan9999) {
    rfssim::Scenario many;
    many.channels = 1;
    many.video = tinyVideo();
    many.partitions = {rfssim::PartitionSettings{2, 0x0F}};
    many.pictures = {series(1, at(1, 9, 0), at(1, 12, 20), 1, rfs::RecNormal)};  // 12000 pictures
    open(many);
    PictureSearch request(3, at(1, 0, 0), at(1, 23, 59, 59), {0});
    const std::vector<rfs_pic_t> listed = picturesOf(search(request));
    ASSERT_EQ(listed.size(), 5000u);
    const std::vector<rfs::CalendarTime> times = [&] {
        std::vector<rfs::CalendarTime> out;
        for (const rfssim::WrittenPicture& p : manifest_.files[0].pictures)
            out.push_back(p.time);
        return out;
    }();
    ASSERT_EQ(times.size(), 12000u);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        ASSERT_EQ(rfs::packTime(listed[i].time), rfs::packTime(times[i])) << i;
        ASSERT_EQ(listed[i].index, static_cast<int>(i));
    }
}
