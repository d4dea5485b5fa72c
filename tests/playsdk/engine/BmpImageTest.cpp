// BMP images of pictures: padded rows, top-down order, and the still pictures callers hand in.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "BmpImage.h"

namespace {

// A grey picture whose luma rises by one per row, so that row order shows.
std::unique_ptr<kvplay::PictureDescriptor> ramp(int32_t width, int32_t height) {
    auto p = kvplay::allocatePicture(rfs::KVFrameHeader{}, width, height);
    for (int32_t y = 0; y < height; ++y)
        std::memset(p->luma + y * p->lumaStride, 100 + y * 10, width);
    std::memset(p->chromaU, 128, static_cast<std::size_t>(p->chromaStride) * ((height + 1) / 2) * 2);
    return p;
}

std::vector<uint8_t> bmpOf(const kvplay::PictureDescriptor& p) {
    std::vector<uint8_t> out(kvplay::bmpFileSize(p.width, p.height), 0xEE);
    kvplay::writeBmp(p, out.data());
    return out;
}

int32_t field32(const std::vector<uint8_t>& b, std::size_t at) {
    int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

}  // namespace

TEST(BmpImage, RowsArePaddedToFourBytesWithZeros) {
    for (const int32_t width : {13, 14, 15, 16}) {
        SCOPED_TRACE(width);
        const auto p = ramp(width, 4);
        const std::vector<uint8_t> bmp = bmpOf(*p);
        const std::size_t row = (std::size_t(width) * 3 + 3) / 4 * 4;
        ASSERT_EQ(bmp.size(), 54 + row * 4);
        EXPECT_EQ(field32(bmp, 2), static_cast<int32_t>(bmp.size()));
        EXPECT_EQ(field32(bmp, 18), width);
        EXPECT_EQ(field32(bmp, 22), -4) << "top-down";
        EXPECT_EQ(field32(bmp, 34), static_cast<int32_t>(row * 4));
        for (int y = 0; y < 4; ++y)
            for (std::size_t pad = std::size_t(width) * 3; pad < row; ++pad)
                EXPECT_EQ(bmp[54 + y * row + pad], 0);
    }
}

TEST(BmpImage, StillPictureRoundTripsInBothRowOrders) {
    const auto p = ramp(13, 6);
    std::vector<uint8_t> topDown = bmpOf(*p);
    // The same image stored bottom-up with a positive height.
    std::vector<uint8_t> bottomUp = topDown;
    const std::size_t row = kvplay::bmpRowBytes(13);
    for (int y = 0; y < 6; ++y)
        std::memcpy(bottomUp.data() + 54 + y * row, topDown.data() + 54 + (5 - y) * row, row);
    const int32_t six = 6;
    std::memcpy(bottomUp.data() + 22, &six, 4);

    for (const auto* image : {&topDown, &bottomUp}) {
        const auto back = kvplay::pictureFromBmp(image->data(), image->size());
        ASSERT_TRUE(back);
        EXPECT_EQ(back->width, 13);
        EXPECT_EQ(back->height, 6);
        EXPECT_EQ(back->still, 1);
        EXPECT_EQ(back->frameHeader().frameType, rfs::FrameI);
        for (int y = 0; y < 6; ++y)
            EXPECT_NEAR(back->luma[y * back->lumaStride], 100 + y * 10, 2) << "row " << y;
    }
}

TEST(BmpImage, RefusesImagesThatAreNotWhole24BitBitmaps) {
    const auto p = ramp(8, 8);
    const std::vector<uint8_t> good = bmpOf(*p);
    ASSERT_TRUE(kvplay::pictureFromBmp(good.data(), good.size()));
    struct {
        const char* what;
        std::size_t at;
        int32_t value;
        std::size_t bytes;  // width of the field
        std::size_t size;
    } cases[] = {
        {"32 bits per pixel", 28, 32, 2, good.size()},
        {"compressed", 30, 1, 4, good.size()},
        {"zero width", 18, 0, 4, good.size()},
        {"zero height", 22, 0, 4, good.size()},
        {"no planes", 26, 0, 2, good.size()},
        {"rows past the end", 22, -9, 4, good.size()},
        {"data offset past the end", 10, 1 << 20, 4, good.size()},
        {"not a bitmap", 0, 'B' | ('A' << 8), 2, good.size()},
        {"truncated", 0, 'B' | ('M' << 8), 2, good.size() - 1},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bad = good;
        std::memcpy(bad.data() + c.at, &c.value, c.bytes);
        EXPECT_FALSE(kvplay::pictureFromBmp(bad.data(), c.size)) << c.what;
    }
    EXPECT_FALSE(kvplay::pictureFromBmp(nullptr, 100));
}
