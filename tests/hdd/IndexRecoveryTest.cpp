// Index copies that cannot be read: the failed copy is given up and the next good copy rebuilt from the
// other good one, without ever leaving a half-copied copy marked valid. Reads are failed through the
// reader's I/O shim.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>
#include <vector>

#include "ReaderFixture.h"

namespace {

namespace fs = std::filesystem;
using kvrfs::IoShim;

// Reads of [from, to) in one file fail with EIO.
struct FailingRange {
    fs::path file;
    uint64_t from = 0;
    uint64_t to = 0;
};
std::vector<FailingRange> gFailing;

fs::path pathOf(int fd) {
    char link[PATH_MAX] = {};
    const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), link, sizeof link - 1);
    return n > 0 ? fs::path(std::string(link, static_cast<std::size_t>(n))) : fs::path();
}

ssize_t failingPread(int fd, void* buffer, std::size_t length, off_t offset) {
    const uint64_t begin = static_cast<uint64_t>(offset);
    for (const FailingRange& r : gFailing)
        if (begin < r.to && begin + length > r.from && fs::equivalent(pathOf(fd), r.file)) {
            errno = EIO;
            return -1;
        }
    return ::pread(fd, buffer, length, offset);
}

std::vector<uint8_t> bytesOf(const fs::path& file, uint64_t offset, std::size_t length) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::vector<uint8_t> bytes(length);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(length));
    return bytes;
}

class IndexRecoveryTest : public ReaderFixture, public ::testing::WithParamInterface<StoreLayout> {
protected:
    void TearDown() override {
        kvrfs::resetIoShim();
        gFailing.clear();
        ReaderFixture::TearDown();
    }

    TestStore storeWithValidCopies(uint8_t valid) {
        rfssim::Scenario s;
        s.layout = GetParam();
        s.channels = 1;
        s.video = tinyVideo();
        s.partitions = {rfssim::PartitionSettings{2, valid}};
        s.recordings = {recording(1, at(1, 9, 0), at(1, 9, 0, 5))};
        return write(s, "store");
    }

    // From `skip` bytes into the copy's index area on.
    void failCopy(const TestStore& s, int copy, uint64_t skip = 0) {
        const uint64_t area = s.indexArea(0, copy);
        gFailing.push_back({s.indexFile(copy), area + skip, area + s.param().index_size});
        kvrfs::setIoShim(IoShim{failingPread, ::pwrite});
    }

    std::vector<uint8_t> indexArea(const TestStore& s, int copy) const {
        return bytesOf(s.indexFile(copy), s.indexArea(0, copy), s.param().index_size);
    }
};

}  // namespace

TEST_P(IndexRecoveryTest, AnUnreadablePrimaryCopyIsReplacedAndTheReadRepeated) {
    const TestStore s = storeWithValidCopies(0x07);
    const rfs::part_info_t expected = s.partInfo(0, 1);
    const std::vector<uint8_t> copy1 = indexArea(s, 1);
    failCopy(s, 0);

    ASSERT_EQ(attach(s), 0);
    EXPECT_EQ(kvrfs::registry().disks[0]->part[0].file_nr, expected.file_nr);
    EXPECT_EQ(kvrfs::registry().disks[0]->param.index_valid[0], 0x06);
    kvrfs::resetIoShim();
    EXPECT_EQ(s.param().index_valid[0], 0x06) << "the block on the medium says so too";
    EXPECT_EQ(indexArea(s, 2), copy1) << "copy 2 was rebuilt from copy 1";
    EXPECT_TRUE(said("deal with index error start\n"));
}

TEST_P(IndexRecoveryTest, WithoutAThirdCopyTheReadFailsAndNothingIsWritten) {
    const TestStore s = storeWithValidCopies(0x03);
    const std::vector<uint8_t> copy1 = indexArea(s, 1);
    failCopy(s, 0);

    ASSERT_EQ(attach(s), 0) << "the disk stays attached; its partition failed";
    EXPECT_TRUE(said("all index file is err!\n"));
    EXPECT_EQ(kvrfs::registry().disks[0]->part[0].magic, 0u);
    kvrfs::resetIoShim();
    EXPECT_EQ(s.param().index_valid[0], 0x03);
    EXPECT_EQ(indexArea(s, 1), copy1);
}

TEST_P(IndexRecoveryTest, ASourceFailingPartWayLeavesTheHalfCopyInvalid) {
    const TestStore s = storeWithValidCopies(0x0F);
    ASSERT_GT(s.param().index_size, 512u * 1024) << "the copy must take more than one piece";
    failCopy(s, 0);
    failCopy(s, 1, 512 * 1024);

    ASSERT_EQ(attach(s), 0);
    EXPECT_EQ(kvrfs::registry().disks[0]->part[0].magic, 0u);
    kvrfs::resetIoShim();
    // Copy 0 was given up; copy 2 holds half of copy 1 and must not count as valid.
    EXPECT_EQ(s.param().index_valid[0], 0x0A);
}

INSTANTIATE_TEST_SUITE_P(Layouts, IndexRecoveryTest, ::testing::Values(StoreLayout::Directory, StoreLayout::RawImage));
