// Stores of a recorder that lost power while recording: at attach the data file still being written is
// closed and its last event completed from the key-frame index, exactly once.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "ReaderFixture.h"
#include "RunCommand.h"

namespace {

namespace fs = std::filesystem;

struct RepairCase {
    const char* name;
    rfssim::PowerLoss loss;
    bool ownFile = false;          // the unfinished recording is the only one in its file
    int virtualKeyFramesEvery = 0; // with 8 pictures a second and every picture listed: 2048 entries
    int seconds = 10;
    bool completed = true;         // whether the last event survives the repair
    bool iendAtTop = false;        // the end slot overwrites the event's first key-frame entry
};

void PrintTo(const RepairCase& c, std::ostream* out) { *out << c.name; }

using At = rfssim::PowerLoss::At;
const RepairCase kCases[] = {
    {"in_event", {At::InEvent, false, false}},
    {"wrong_event_number", {At::InEvent, false, true}},
    {"iend_at_the_top_of_a_later_piece", {At::InEvent, false, false}, false, 1, 256},
    {"iend_lost", {At::InEvent, true, false}, false, 0, 10, false},
    {"iend_at_the_top_of_the_first_piece", {At::InEvent, false, false}, false, 0, 10, false, true},
    {"before_event", {At::BeforeEvent, false, false}, false, 0, 10, false},
    {"no_events", {At::BeforeEvent, false, false}, true, 0, 10, false},
};

std::vector<uint8_t> fileBytes(const fs::path& file, uint64_t offset, std::size_t length) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::vector<uint8_t> bytes(length);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(length));
    return bytes;
}

class PartitionRepairTest : public ReaderFixture,
                            public ::testing::WithParamInterface<std::tuple<StoreLayout, RepairCase>> {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        const RepairCase& c = std::get<1>(GetParam());
        rfssim::Scenario s;
        s.layout = std::get<0>(GetParam());
        s.channels = 1;
        s.video = tinyVideo();
        if (c.virtualKeyFramesEvery != 0)
            s.video.fps = 8;
        s.partitions = {rfssim::PartitionSettings{4, 0x0F}};
        rfssim::Recording before = recording(1, at(1, 9, 0), at(1, 9, 0, 20));
        before.eventSeconds = 10;
        rfssim::Recording lost = recording(1, at(1, 9, 1), rfs::fromEpochSeconds(rfs::toEpochSeconds(at(1, 9, 1)) + c.seconds));
        lost.powerLoss = c.loss;
        lost.newFile = c.ownFile;
        lost.virtualKeyFrameEvery = c.virtualKeyFramesEvery;
        s.recordings = {before, lost};
        store_ = write(s, "store", &manifest_);
    }

    const rfssim::WrittenFile& unfinishedFile() const {
        for (const rfssim::WrittenFile& f : manifest_.files)
            if (f.eseq == rfs::kOpenFileSeq)
                return f;
        throw std::runtime_error("the simulator left no file unfinished");
    }
    fs::path dataFile(uint32_t index) const {
        return store_.directory() ? store_.path / ("file" + std::to_string(index)) : store_.path;
    }
    uint64_t dataBase(uint32_t index) const {
        return store_.directory() ? 0 : rfs::dataFileOffset(store_.param(), 0, index);
    }
    rfs::index_file_info fileRecord(uint32_t index) const {
        return readRecord<rfs::index_file_info>(store_.indexFile(0), store_.indexArea(0, 0) +
                                                                          store_.param().file_table_offset +
                                                                          index * sizeof(rfs::index_file_info));
    }

    // The events of channel 0 as listed after attach; the search stays open so that they can be read.
    std::vector<rfs_event_t> listed() {
        if (search_ >= 0)
            KVrfs_find_stop_hdd(search_);
        Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 1);
        search_ = KVrfs_find_start_hdd(search.get(), nullptr);
        EXPECT_GE(search_, 0);
        rfs_event_list_t out{};
        EXPECT_EQ(KVrfs_get_event_hdd(search_, 0, &out), 0);
        return std::vector<rfs_event_t>(out.list, out.list + out.count);
    }

    // Everything the repair may write: both index copies in use and the head of every data file.
    std::vector<uint8_t> repairedBytes() const {
        std::vector<uint8_t> all;
        for (int copy = 0; copy < 2; ++copy) {
            const auto area = fileBytes(store_.indexFile(copy), store_.indexArea(0, copy), store_.param().index_size);
            all.insert(all.end(), area.begin(), area.end());
        }
        for (const rfssim::WrittenFile& f : manifest_.files) {
            const auto head = fileBytes(dataFile(f.fileIndex), dataBase(f.fileIndex), sizeof(rfs::index_file_info));
            all.insert(all.end(), head.begin(), head.end());
        }
        return all;
    }

    TestStore store_;
    rfssim::StoreManifest manifest_;
    int search_ = -1;
};

}  // namespace

TEST_P(PartitionRepairTest, ClosesTheUnfinishedFileOnceAndKeepsEveryCompleteEvent) {
    const RepairCase& c = std::get<1>(GetParam());
    const rfssim::WrittenFile file = unfinishedFile();
    ASSERT_EQ(store_.partInfo(0, 0).active, 1);
    const std::size_t complete = c.ownFile ? 0 : file.events.size() - 1;
    const rfssim::WrittenEvent& last = file.events.back();
    if (c.iendAtTop) {
        rfs::iframe_info_t end{};
        end.magic = rfs::kIFrameEndMagic;
        writeRecord(dataFile(file.fileIndex), dataBase(file.fileIndex) + last.kfTop - sizeof end, end);
    }

    ASSERT_EQ(attach(store_), 0);
    EXPECT_TRUE(said("add disk repair record:" + store_.path.string() + " part:0 sucess!\n"));
    if (c.iendAtTop) {
        EXPECT_TRUE(said("this is impossible,bad luck!\n"));
    }
    const std::vector<rfs_event_t> events = listed();
    // The two complete events of the first recording, and the repaired one when it survives.
    ASSERT_EQ(events.size(), 2u + (c.completed ? 1 : 0));
    std::size_t firstOfFile = events.size() - (c.completed ? 1 : 0) - complete;
    for (std::size_t e = 0; e < complete; ++e) {
        EXPECT_EQ(events[firstOfFile + e].data_len, file.events[e].dataLen) << "complete event " << e;
        EXPECT_EQ(events[firstOfFile + e].kf_low, file.events[e].kfLow) << "complete event " << e;
    }

    const rfs::index_file_info record = fileRecord(file.fileIndex);
    EXPECT_EQ(record.state, rfs::FileRepaired);
    EXPECT_NE(record.eseq, rfs::kOpenFileSeq);
    EXPECT_EQ(record.event_nr, complete + (c.completed ? 1 : 0));
    if (c.completed) {
        const rfs::iframe_info_t entry =
            readRecord<rfs::iframe_info_t>(dataFile(file.fileIndex), dataBase(file.fileIndex) + last.finishedKfLow);
        const rfs_event_t& repaired = events.back();
        EXPECT_EQ(repaired.kf_low, last.finishedKfLow);
        EXPECT_EQ(repaired.data_len, entry.offset + entry.length - last.dataStart);
        EXPECT_EQ(rfs::packTime(repaired.end), entry.time);
        EXPECT_EQ(record.data_end, last.dataStart + repaired.data_len);
        EXPECT_EQ(record.mobit_end, last.finishedMobitEnd);

        // Its frames read back up to its newest key frame.
        const int reader = KVrfs_read_start_hdd(0);
        ASSERT_GE(reader, 0);
        ASSERT_EQ(KVrfs_tseek_hdd(reader, &repaired.start, 1, 0, &repaired, 0), 0);
        std::vector<uint8_t> buffer(1 << 20);
        int skip = 0;
        EXPECT_GT(KVrfs_read_hdd(reader, buffer.data(), static_cast<int>(buffer.size()), &skip, nullptr), 0);
        KVrfs_read_stop_hdd(reader);
    } else if (complete == 0) {
        EXPECT_EQ(record.data_end, rfs::mediaStart(store_.param().dataFileSize));
    }
    EXPECT_EQ(fileBytes(dataFile(file.fileIndex), dataBase(file.fileIndex), sizeof record),
              fileBytes(store_.indexFile(0),
                        store_.indexArea(0, 0) + store_.param().file_table_offset + file.fileIndex * sizeof record,
                        sizeof record))
        << "the data file's own copy of its record agrees";

    // A second attach finds nothing left to repair.
    const std::vector<uint8_t> once = repairedBytes();
    ASSERT_EQ(KVrfs_remove_disk_hdd(0), 0);
    ASSERT_EQ(attach(store_), 0);
    EXPECT_EQ(repairedBytes(), once);
    EXPECT_EQ(listed().size(), events.size());
}

INSTANTIATE_TEST_SUITE_P(Stores, PartitionRepairTest,
                         ::testing::Combine(::testing::Values(StoreLayout::Directory, StoreLayout::RawImage),
                                            ::testing::ValuesIn(kCases)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == StoreLayout::Directory ? "dir_" : "raw_") +
                                    std::get<1>(info.param).name;
                         });

namespace {

// Two complete events of 10 s, then a recording cut by a power loss inside its event.
rfssim::Scenario lostInTheThirdEvent(StoreLayout layout) {
    rfssim::Scenario s;
    s.layout = layout;
    s.channels = 1;
    s.video = tinyVideo();
    s.partitions = {rfssim::PartitionSettings{4, 0x0F}};
    rfssim::Recording complete = recording(1, at(1, 9, 0), at(1, 9, 0, 20));
    complete.eventSeconds = 10;
    rfssim::Recording lost = recording(1, at(1, 9, 1), at(1, 9, 1, 10));
    lost.powerLoss = rfssim::PowerLoss{};
    s.recordings = {complete, lost};
    return s;
}

// Writes that touch [from, to) of one file fail with EIO, at most `times` of them.
struct FailingWrite {
    fs::path file;
    uint64_t from = 0;
    uint64_t to = 0;
    int times = 0;
};
FailingWrite gFailing;

ssize_t failingPwrite(int fd, const void* buffer, std::size_t length, off_t offset) {
    char link[4096] = {};
    const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), link, sizeof link - 1);
    const uint64_t begin = static_cast<uint64_t>(offset);
    if (gFailing.times > 0 && n > 0 && begin < gFailing.to && begin + length > gFailing.from &&
        fs::equivalent(fs::path(std::string(link, static_cast<std::size_t>(n))), gFailing.file)) {
        --gFailing.times;
        errno = EIO;
        return -1;
    }
    return ::pwrite(fd, buffer, length, offset);
}

enum class Fault { PrimaryCopyOnce, DataFileRecord };

class RepairFaultTest : public ReaderFixture, public ::testing::WithParamInterface<std::tuple<StoreLayout, Fault>> {
protected:
    void TearDown() override {
        kvrfs::resetIoShim();
        ReaderFixture::TearDown();
    }
};

}  // namespace

// One write of the repair fails: either the index copy in use gives way to the next one and the repair
// completes, or the repair stops there. Either way every complete event stays listed.
TEST_P(RepairFaultTest, AFailedWriteLosesNoCompleteEvent) {
    const auto [layout, fault] = GetParam();
    const rfssim::Scenario s = lostInTheThirdEvent(layout);
    rfssim::StoreManifest manifest;
    const TestStore store = write(s, "store", &manifest);

    if (fault == Fault::PrimaryCopyOnce) {
        const uint64_t area = store.indexArea(0, 0);
        gFailing = {store.indexFile(0), area, area + store.param().index_size, 1};
    } else {
        const uint32_t index = manifest.files.back().fileIndex;
        const fs::path file = store.directory() ? store.path / ("file" + std::to_string(index)) : store.path;
        const uint64_t base = store.directory() ? 0 : rfs::dataFileOffset(store.param(), 0, index);
        gFailing = {file, base, base + sizeof(rfs::index_file_info), 1};
    }
    kvrfs::setIoShim(kvrfs::IoShim{::pread, failingPwrite});
    ASSERT_EQ(attach(store), 0);
    EXPECT_EQ(gFailing.times, 0) << "the chosen write was made";
    const bool completes = fault == Fault::PrimaryCopyOnce;
    EXPECT_TRUE(said("add disk repair record:" + store.path.string() + " part:0 " +
                     (completes ? "sucess!\n" : "failed! ret=-1\n")));

    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 1);
    const int handle = KVrfs_find_start_hdd(search.get(), nullptr);
    ASSERT_GE(handle, 0);
    rfs_event_list_t out{};
    ASSERT_EQ(KVrfs_get_event_hdd(handle, 0, &out), 0);
    // The two complete events, and the repaired one: the index took it before the data file failed.
    ASSERT_EQ(out.count, 3);
    EXPECT_EQ(rfs::packTime(out.list[0].start), rfs::packTime(at(1, 9, 0)));
    EXPECT_EQ(rfs::packTime(out.list[1].start), rfs::packTime(at(1, 9, 0, 10)));
    EXPECT_EQ(rfs::packTime(out.list[2].start), rfs::packTime(at(1, 9, 1)));
    KVrfs_find_stop_hdd(handle);
}

INSTANTIATE_TEST_SUITE_P(Faults, RepairFaultTest,
                         ::testing::Combine(::testing::Values(StoreLayout::Directory, StoreLayout::RawImage),
                                            ::testing::Values(Fault::PrimaryCopyOnce, Fault::DataFileRecord)));

namespace {

struct PictureRepairCase {
    const char* name;
    int uncountedEvery;
    bool pendLost;
};
void PrintTo(const PictureRepairCase& c, std::ostream* out) { *out << c.name; }

class PictureRepairTest : public ReaderFixture,
                          public ::testing::WithParamInterface<std::tuple<StoreLayout, PictureRepairCase>> {};

}  // namespace

// A picture file the recorder was filling is recounted from its picture index; the newest pictures stay
// inside the index range also when some pictures are not counted.
TEST_P(PictureRepairTest, RecountsThePictureFileFromItsIndex) {
    const auto& [layout, c] = GetParam();
    rfssim::Scenario s;
    s.layout = layout;
    s.channels = 2;
    s.video = tinyVideo();
    s.partitions = {rfssim::PartitionSettings{4, 0x0F}};
    rfssim::PictureSeries series;
    series.channel = 2;
    series.from = at(1, 9, 0);
    series.to = at(1, 9, 0, 30);
    series.uncountedEvery = c.uncountedEvery;
    series.powerLoss = rfssim::PictureSeries::PowerLoss{c.pendLost};
    s.pictures = {series};
    rfssim::StoreManifest manifest;
    const TestStore store = write(s, "store", &manifest);
    const rfssim::WrittenFile& written = manifest.files.at(0);
    ASSERT_EQ(written.eseq, rfs::kOpenFileSeq);

    ASSERT_EQ(attach(store), 0);
    const auto record = readRecord<rfs::index_file_info>(
        store.indexFile(0), store.indexArea(0, 0) + store.param().file_table_offset +
                                written.fileIndex * sizeof(rfs::index_file_info));
    const uint32_t size = rfs::normalisedDataFileSize(store.param().dataFileSize);
    EXPECT_NE(record.eseq, rfs::kOpenFileSeq);
    if (c.pendLost) {
        EXPECT_TRUE(said("can't find pic end index!\n"));
        EXPECT_EQ(record.event_nr, 0);
        EXPECT_EQ(record.index_low, size);
        EXPECT_EQ(record.data_end, rfs::kPictureBlock);
        return;
    }
    const uint32_t pictures = 30;
    const uint32_t counted = c.uncountedEvery == 0 ? pictures : pictures - pictures / c.uncountedEvery;
    EXPECT_EQ(record.event_nr, counted);
    EXPECT_EQ(record.index_low, size - pictures * sizeof(rfs::pic_info_t)) << "just above the end marker";
    EXPECT_EQ(record.chn_mask[0], 1u << 1);
    EXPECT_EQ(record.start_time, rfs::packTime(at(1, 9, 0)));
    EXPECT_EQ(record.day_bits[0], 1u);

    // A second attach finds the file closed and leaves it alone.
    ASSERT_EQ(KVrfs_remove_disk_hdd(0), 0);
    ASSERT_EQ(attach(store), 0);
    const auto again = readRecord<rfs::index_file_info>(
        store.indexFile(0), store.indexArea(0, 0) + store.param().file_table_offset +
                                written.fileIndex * sizeof(rfs::index_file_info));
    EXPECT_EQ(std::memcmp(&again, &record, sizeof record), 0);
}

INSTANTIATE_TEST_SUITE_P(Stores, PictureRepairTest,
                         ::testing::Combine(::testing::Values(StoreLayout::Directory, StoreLayout::RawImage),
                                            ::testing::Values(PictureRepairCase{"all_counted", 0, false},
                                                              PictureRepairCase{"every_third_uncounted", 3, false},
                                                              PictureRepairCase{"end_marker_lost", 0, true})),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == StoreLayout::Directory ? "dir_" : "raw_") +
                                    std::get<1>(info.param).name;
                         });

namespace {

// Marks every file of the store immutable for the life of the object, as a write blocker or a
// write-protected image does; false when the file system or the user cannot.
class WriteProtection {
public:
    explicit WriteProtection(const TestStore& store) {
        if (store.directory())
            for (const fs::directory_entry& e : fs::directory_iterator(store.path))
                files_.push_back(e.path());
        else
            files_.push_back(store.path);
        for (const fs::path& f : files_)
            protected_ = protected_ && std::system(("chattr +i " + quoted(f) + " 2>/dev/null").c_str()) == 0;
    }
    ~WriteProtection() {
        for (const fs::path& f : files_)
            (void)std::system(("chattr -i " + quoted(f) + " 2>/dev/null").c_str());
    }
    bool works() const { return protected_; }

private:
    std::vector<fs::path> files_;
    bool protected_ = true;
};

class WriteProtectedRepairTest : public ReaderFixture, public ::testing::WithParamInterface<StoreLayout> {};

}  // namespace

// A store that needs repair on a medium that cannot be written is read as it is: the repair fails,
// no index copy is given up, and every complete event stays listed.
TEST_P(WriteProtectedRepairTest, IsReadAsItIs) {
    const rfssim::Scenario s = lostInTheThirdEvent(GetParam());
    const TestStore store = write(s, "store");
    const WriteProtection protection(store);
    if (!protection.works())
        GTEST_SKIP() << "files cannot be made immutable here";

    ASSERT_EQ(attach(store), 0);
    EXPECT_TRUE(said("add disk repair record:" + store.path.string() + " part:0 failed! ret=-1\n"));
    EXPECT_EQ(kvrfs::registry().disks[0]->param.index_valid[0], 0x0F);
    Search search(3, at(1, 0, 0), at(1, 23, 59, 59), 1);
    const int handle = KVrfs_find_start_hdd(search.get(), nullptr);
    ASSERT_GE(handle, 0);
    rfs_event_list_t out{};
    ASSERT_EQ(KVrfs_get_event_hdd(handle, 0, &out), 0);
    EXPECT_EQ(out.count, 2);
    KVrfs_find_stop_hdd(handle);
}

INSTANTIATE_TEST_SUITE_P(Layouts, WriteProtectedRepairTest,
                         ::testing::Values(StoreLayout::Directory, StoreLayout::RawImage));
