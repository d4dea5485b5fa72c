// A picture read counts its bytes from the start of the block, so the record's offset must fit too.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "PictureRecord.h"
#include "rfs/FrameRecord.h"

using tarn::isWholePicture;

namespace {

std::vector<uint8_t> blockWithPicture(uint32_t offset, uint32_t framesize, uint32_t tag = rfs::KVFrameTag) {
    std::vector<uint8_t> block(8192);
    rfs::KVFrameHeader h{};
    h.FrameTag = tag;
    h.frameType = rfs::FrameI;
    h.framesize = framesize;
    std::memcpy(block.data() + offset, &h, sizeof h);
    return block;
}

}  // namespace

TEST(PictureRecord, MustFitTogetherWithItsOffset) {
    struct Case {
        uint32_t offset;
        uint32_t framesize;
        int32_t bytesRead;
        bool whole;
    };
    const Case cases[] = {
        {0, 1000, 1040, true},          {0, 1000, 1039, false}, {512, 1000, 1552, true},
        {512, 1000, 1040, false},  // enough bytes for the record alone, not behind its offset
        {512, 1000, 1551, false},       {4000, 0, 4040, true},  {4000, 0, 4039, false},  // not even the header
        {512, 0xffffffff, 8192, false}, {0, 1000, 0, false},    {0, 1000, -15, false},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> block = blockWithPicture(c.offset, c.framesize);
        EXPECT_EQ(isWholePicture(block.data(), c.bytesRead, c.offset), c.whole)
            << "offset " << c.offset << " framesize " << c.framesize << " read " << c.bytesRead;
    }
}

TEST(PictureRecord, NeedsTheTag) {
    const std::vector<uint8_t> block = blockWithPicture(512, 100, 0x6d46564c);
    EXPECT_FALSE(isWholePicture(block.data(), 8192, 512));
}
