// The same scenario gives the same bytes, however the chunks were spread over the cores.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "TempDir.h"
#include "TestScenarios.h"
#include "rfssim/StoreWriter.h"

namespace fs = std::filesystem;
using namespace rfssim;

namespace {

// Offset of the next data at or after `offset`, or `size` where only a hole follows.
off_t nextData(int fd, off_t offset, off_t size) {
    const off_t found = ::lseek(fd, offset, SEEK_DATA);
    return found < 0 ? size : found;
}

// Compares two sparse files without reading the holes they share (those read as zeros in both).
::testing::AssertionResult sameBytes(const fs::path& a, const fs::path& b) {
    const auto size = static_cast<off_t>(fs::file_size(a));
    if (fs::file_size(b) != fs::file_size(a))
        return ::testing::AssertionFailure() << a << " and " << b << " differ in size";
    const int fa = ::open(a.c_str(), O_RDONLY);
    const int fb = ::open(b.c_str(), O_RDONLY);
    constexpr off_t kBlock = 1 << 20;
    std::vector<char> bufferA(kBlock), bufferB(kBlock);
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    for (off_t offset = 0; offset < size;) {
        offset = std::min(nextData(fa, offset, size), nextData(fb, offset, size));
        if (offset >= size)
            break;
        const auto length = static_cast<std::size_t>(std::min(kBlock, size - offset));
        if (::pread(fa, bufferA.data(), length, offset) != static_cast<ssize_t>(length) ||
            ::pread(fb, bufferB.data(), length, offset) != static_cast<ssize_t>(length) ||
            !std::equal(bufferA.begin(), bufferA.begin() + static_cast<std::ptrdiff_t>(length), bufferB.begin())) {
            result = ::testing::AssertionFailure() << a << " and " << b << " differ near byte " << offset;
            break;
        }
        offset += static_cast<off_t>(length);
    }
    ::close(fa);
    ::close(fb);
    return result;
}

std::vector<fs::path> namesIn(const fs::path& store) {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(store))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

Scenario busyScenario(StoreLayout layout) {
    Scenario s;
    s.layout = layout;
    s.channels = 3;
    s.partitions = {{7, 0x0F}};
    s.video = tinyVideo();
    s.subVideo = tinyVideo(VideoCodecKind::H265, 96, 64);
    for (int channel = 1; channel <= 3; ++channel) {
        Recording main = recording(channel, StreamKind::Main, "2026-12-01 09:00:00", "2026-12-01 09:00:35");
        main.audio = channel == 2;
        main.virtualKeyFrameEvery = channel == 3 ? 4 : 0;
        s.recordings.push_back(main);
        s.recordings.push_back(recording(channel, StreamKind::Sub, "2026-12-01 09:00:05", "2026-12-01 09:00:25"));
    }
    return s;
}

class Determinism : public ::testing::TestWithParam<StoreLayout> {};

}  // namespace

TEST_P(Determinism, SameScenarioGivesIdenticalBytes) {
    TempDir dir;
    const bool raw = GetParam() == StoreLayout::RawImage;
    const fs::path first = dir.path() / (raw ? "first.img" : "first");
    const fs::path second = dir.path() / (raw ? "second.img" : "second");
    writeStore(busyScenario(GetParam()), first);
    writeStore(busyScenario(GetParam()), second);

    if (raw) {
        EXPECT_TRUE(sameBytes(first, second));
        return;
    }
    const std::vector<fs::path> names = namesIn(first);
    ASSERT_EQ(namesIn(second), names);
    for (const fs::path& name : names)
        EXPECT_TRUE(sameBytes(first / name, second / name));
}

INSTANTIATE_TEST_SUITE_P(Layouts, Determinism, ::testing::Values(StoreLayout::Directory, StoreLayout::RawImage),
                         [](const auto& info) { return info.param == StoreLayout::RawImage ? "raw" : "dir"; });
