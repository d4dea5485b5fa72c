// The pictures delivered are the decoded pictures: a chosen frame's BMP against ffmpeg's decode of the
// same access units.
#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "PlaybackFixture.h"
#include "RunCommand.h"
#include "TempDir.h"

namespace {

struct AccuracyCase {
    rfssim::VideoCodecKind codec;
    const char* format;  // ffmpeg's name of the raw stream
    std::size_t frame;
};

void PrintTo(const AccuracyCase& c, std::ostream* out) {
    *out << c.format << " frame " << c.frame;
}

uint8_t clamp(double v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
}

// Studio-range BT.601 YUV to the blue, green, red bytes of a BMP pixel.
std::array<uint8_t, 3> bgrOf(int y, int u, int v) {
    const double c = 1.164 * (y - 16);
    return {clamp(c + 2.018 * (u - 128)), clamp(c - 0.813 * (v - 128) - 0.391 * (u - 128)),
            clamp(c + 1.596 * (v - 128))};
}

}  // namespace

class PictureAccuracyTest : public PlaybackTest, public ::testing::WithParamInterface<AccuracyCase> {};

TEST_P(PictureAccuracyTest, ChosenFrameMatchesFfmpegsDecodeWithinRounding) {
    const AccuracyCase c = GetParam();
    StreamShape shape;
    shape.codec = c.codec;
    const std::vector<Record> frames = videoOnly(storedStream(shape));
    const std::vector<Record> fed(frames.begin(), frames.begin() + c.frame + 1);
    keepBmps_ = true;
    void* h = player(1);
    feed(h, fed);
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(static_cast<int>(40 * fed.size() + 100));
    const std::vector<Shown> pictures = newPictures();
    ASSERT_EQ(pictures.size(), fed.size());
    const Shown& ours = pictures.back();

    TempDir dir;
    {
        std::ofstream stream(dir.path() / "stream", std::ios::binary);
        for (const Record& r : fed)
            stream.write(reinterpret_cast<const char*>(r.data()) + rfs::kFrameHeaderSize,
                         static_cast<std::streamsize>(r.size() - rfs::kFrameHeaderSize));
    }
    const auto yuv = dir.path() / "frames.yuv";
    const CommandResult decoded =
        runCommand(std::string(FFMPEG_PATH) + " -v error -f " + c.format + " -i " + (dir.path() / "stream").string() +
                   " -fps_mode passthrough -f rawvideo -pix_fmt yuv420p " + yuv.string());
    ASSERT_EQ(decoded.exitStatus, 0) << decoded.err;
    const int w = ours.width, hgt = ours.height;
    const std::size_t frameBytes = std::size_t(w) * hgt * 3 / 2;
    ASSERT_EQ(std::filesystem::file_size(yuv), frameBytes * fed.size());
    std::vector<uint8_t> planes(frameBytes);
    std::ifstream in(yuv, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(frameBytes * c.frame));
    in.read(reinterpret_cast<char*>(planes.data()), static_cast<std::streamsize>(frameBytes));
    const uint8_t* Y = planes.data();
    const uint8_t* U = Y + w * hgt;
    const uint8_t* V = U + (w / 2) * (hgt / 2);

    const std::size_t rowBytes = (std::size_t(w) * 3 + 3) & ~std::size_t{3};
    ASSERT_EQ(ours.bmp.size(), 54 + rowBytes * hgt);
    int worst = 0;
    for (int y = 0; y < hgt; ++y)
        for (int x = 0; x < w; ++x) {
            const auto expected = bgrOf(Y[y * w + x], U[(y / 2) * (w / 2) + x / 2], V[(y / 2) * (w / 2) + x / 2]);
            for (int k = 0; k < 3; ++k)
                worst = std::max(worst, std::abs(int(ours.bmp[54 + y * rowBytes + x * 3 + k]) - int(expected[k])));
        }
    EXPECT_LE(worst, 3) << "largest difference of a colour byte";
}

INSTANTIATE_TEST_SUITE_P(Codecs, PictureAccuracyTest,
                         ::testing::Values(AccuracyCase{rfssim::VideoCodecKind::H264, "h264", 7},
                                           AccuracyCase{rfssim::VideoCodecKind::H265, "hevc", 12}));
