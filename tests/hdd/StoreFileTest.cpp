// Positioned transfers on a raw drive (whole sectors with a bounce sector) against an image file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "StoreFile.h"
#include "TempDir.h"

using namespace kvrfs;

namespace {

// Counts what reaches the system, to show how the raw routines move whole sectors.
struct TransferLog {
    static inline std::vector<std::pair<uint64_t, std::size_t>> reads;
    static ssize_t pread(int fd, void* buffer, std::size_t length, off_t offset) {
        reads.emplace_back(static_cast<uint64_t>(offset), length);
        return ::pread(fd, buffer, length, offset);
    }
};

class RawImage : public ::testing::Test {
protected:
    static constexpr std::size_t kImageSize = 4096 + 100;  // the last sector is a partial one

    void SetUp() override {
        path_ = dir_.path() / "disk.img";
        content_.resize(kImageSize);
        for (std::size_t i = 0; i < content_.size(); ++i)
            content_[i] = static_cast<unsigned char>(i * 7 + i / 512);
        writeFile(content_);
    }

    void TearDown() override { resetIoShim(); }

    void writeFile(const std::vector<unsigned char>& bytes) {
        std::ofstream(path_, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    std::vector<unsigned char> fileBytes() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    TempDir dir_;
    std::filesystem::path path_;
    std::vector<unsigned char> content_;
};

struct Span {
    uint64_t offset;
    std::size_t length;
};

const Span kSpans[] = {
    {511, 1}, {0, 1}, {0, 512}, {512, 512}, {500, 30}, {100, 1000}, {1, 1535}, {1024, 2048}, {3, 4093}, {0, 4196},
};

}  // namespace

TEST_F(RawImage, ReadsAnySpan) {
    const StoreFile drive = StoreFile::openDrive(path_.string(), OpenFor::Read);
    ASSERT_TRUE(drive.isOpen());
    for (const Span& s : kSpans) {
        std::vector<unsigned char> buffer(s.length, 0xEE);
        ASSERT_EQ(drive.readAt(buffer.data(), s.offset, s.length), static_cast<int64_t>(s.length))
            << s.offset << "+" << s.length;
        EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), content_.begin() + s.offset))
            << s.offset << "+" << s.length;
    }
}

TEST_F(RawImage, MovesWholeSectorsOnly) {
    setIoShim(IoShim{TransferLog::pread, ::pwrite});
    const StoreFile drive = StoreFile::openDrive(path_.string(), OpenFor::Read);
    for (const Span& s : kSpans) {
        if (s.offset + s.length > 4096)
            continue;  // the image's last sector is partial, so a transfer there is cut short
        TransferLog::reads.clear();
        std::vector<unsigned char> buffer(s.length);
        drive.readAt(buffer.data(), s.offset, s.length);
        for (const auto& [offset, length] : TransferLog::reads) {
            EXPECT_EQ(offset % 512, 0u) << s.offset << "+" << s.length;
            EXPECT_EQ(length % 512, 0u) << s.offset << "+" << s.length;
        }
    }
    TransferLog::reads.clear();
    unsigned char one = 0;
    ASSERT_EQ(drive.readAt(&one, 511, 1), 1);
    ASSERT_EQ(TransferLog::reads.size(), 1u);
    EXPECT_EQ(TransferLog::reads[0], (std::pair<uint64_t, std::size_t>{0, 512}));
    EXPECT_EQ(one, content_[511]);
}

TEST_F(RawImage, ReadsShortAtTheEnd) {
    const StoreFile drive = StoreFile::openDrive(path_.string(), OpenFor::Read);
    std::vector<unsigned char> buffer(600);
    EXPECT_EQ(drive.readAt(buffer.data(), kImageSize - 50, 600), 50);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 50, content_.end() - 50));
    EXPECT_EQ(drive.readAt(buffer.data(), kImageSize + 10, 10), 0);
    EXPECT_EQ(drive.readAt(buffer.data(), 4000, 600), 196);
}

TEST_F(RawImage, WritesAnySpanAndKeepsTheBytesAround) {
    for (const Span& s : kSpans) {
        const StoreFile drive = StoreFile::openDrive(path_.string(), OpenFor::ReadWrite);
        ASSERT_TRUE(drive.isOpen());
        std::vector<unsigned char> patch(s.length);
        for (std::size_t i = 0; i < patch.size(); ++i)
            patch[i] = static_cast<unsigned char>(0xA5 ^ i);
        ASSERT_EQ(drive.writeAt(patch.data(), s.offset, s.length), static_cast<int64_t>(s.length))
            << s.offset << "+" << s.length;
        std::vector<unsigned char> expected = content_;
        std::copy(patch.begin(), patch.end(), expected.begin() + s.offset);
        EXPECT_EQ(fileBytes(), expected) << s.offset << "+" << s.length;
        writeFile(content_);
    }
}

TEST_F(RawImage, NeverExtendsTheImage) {
    const StoreFile drive = StoreFile::openDrive(path_.string(), OpenFor::ReadWrite);
    const unsigned char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_LT(drive.writeAt(bytes, kImageSize - 4, sizeof bytes), 0);
    EXPECT_LT(drive.writeAt(bytes, 1ull << 40, sizeof bytes), 0);
    EXPECT_EQ(drive.writeAt(bytes, kImageSize - 8, sizeof bytes), 8);
    EXPECT_EQ(std::filesystem::file_size(path_), kImageSize);
}

TEST_F(RawImage, ReportsFailedTransfers) {
    setIoShim(IoShim{[](int, void*, std::size_t, off_t) -> ssize_t {
                         errno = EIO;
                         return -1;
                     },
                     [](int, const void*, std::size_t, off_t) -> ssize_t {
                         errno = EIO;
                         return -1;
                     }});
    const StoreFile drive = StoreFile::openDrive(path_.string(), OpenFor::ReadWrite);
    unsigned char buffer[700] = {};
    EXPECT_EQ(drive.readAt(buffer, 3, sizeof buffer), IoTransferFailed);
    EXPECT_EQ(drive.writeAt(buffer, 3, sizeof buffer), IoTransferFailed);
    resetIoShim();
    EXPECT_EQ(fileBytes(), content_);
}

TEST(StoreFileOpen, DirectoryStoreNamesItsObjects) {
    TempDir dir;
    for (const char* name : {"index2", "file7", "label0"})
        std::ofstream(dir.path() / name) << name;
    const std::string root = dir.path().string();

    const StoreFile firstIndex = StoreFile::openIndex(AccessMode::Directory, root, -1, OpenFor::Read);
    ASSERT_TRUE(firstIndex.isOpen());
    EXPECT_EQ(firstIndex.name(), root + "/index2");
    EXPECT_FALSE(StoreFile::openIndex(AccessMode::Directory, root, 0, OpenFor::Read).isOpen());
    EXPECT_FALSE(StoreFile::openIndex(AccessMode::Directory, root, 4, OpenFor::Read).isOpen());

    const StoreFile data = StoreFile::openDataFile(AccessMode::Directory, root, 7, OpenFor::Read);
    char text[6] = {};
    ASSERT_EQ(data.readAt(text, 0, 5), 5);
    EXPECT_STREQ(text, "file7");
    EXPECT_TRUE(StoreFile::openLabelArea(AccessMode::Directory, root, OpenFor::Read).isOpen());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "index0"));  // opening never creates
}
