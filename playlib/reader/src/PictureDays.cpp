#include "PictureDays.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "MessageLine.h"

namespace kvrfs {
namespace {

// The day records must start inside the block, after its header, and end inside the file.
bool usable(const rfs::pic_mon_head_t& head, uint64_t fileSize, uint32_t month) {
    const uint64_t first = rfs::kPicMonPosition + sizeof head;
    return std::memcmp(head.text, rfs::kPicMonText, sizeof head.text) == 0 && head.writted_count != 0 &&
           head.pic_mon_offset != 0 && head.pic_mon_size >= sizeof(rfs::pic_day_t) &&
           head.pic_mon_size <= rfs::kPicMonBlockSize && head.pic_mon_offset >= first &&
           uint64_t{head.pic_mon_offset} + head.pic_mon_size <= rfs::kPicMonPosition + rfs::kPicMonBlockSize &&
           uint64_t{head.pic_mon_offset} + uint64_t{head.writted_count} * head.pic_mon_size <= fileSize &&
           rfs::monthOf(head.pic_start) <= month && month <= rfs::monthOf(head.pic_end);
}

}  // namespace

PictureDaysResult readPictureDays(const PictureFile& file, uint32_t month,
                                  const std::function<void(const rfs::pic_day_t&)>& visit) {
    std::vector<unsigned char> block(rfs::kPicMonBlockSize);
    auto read = [&](uint64_t position, std::size_t bytes) {
        const int64_t n = file.data.file.readAt(block.data(), file.data.base + position, bytes);
        if (n == static_cast<int64_t>(bytes))
            return true;
        message("kv_read %s/file%d err,cnt:%d\n", file.storePath.c_str(), static_cast<int>(file.fileIndex),
                static_cast<int>(n));
        return false;
    };
    if (!read(rfs::kPicMonPosition, block.size()))
        return PictureDaysResult::ShortRead;
    rfs::pic_mon_head_t head;
    std::memcpy(&head, block.data(), sizeof head);
    if (!usable(head, file.size, month)) {
        message("file%d, addr64=%lld,pic_start=%d,pic_end=%d,pic_mon_offset=%d,pic_mon_size=%d,writted_count%d!\n",
                static_cast<int>(file.fileIndex), static_cast<long long>(file.data.base + rfs::kPicMonPosition),
                static_cast<int>(head.pic_start), static_cast<int>(head.pic_end), static_cast<int>(head.pic_mon_offset),
                static_cast<int>(head.pic_mon_size), static_cast<int>(head.writted_count));
        return PictureDaysResult::Unusable;
    }

    // The first block holds the records that fit behind the header; later blocks are read on from
    // where the taken records end.
    const uint32_t size = head.pic_mon_size;
    std::size_t at = head.pic_mon_offset - rfs::kPicMonPosition;
    uint64_t inBlock = (block.size() - at) / size;
    uint64_t taken = 0;
    for (int blocks = 1;; ++blocks) {
        const uint64_t count = std::min<uint64_t>(inBlock, head.writted_count - taken);
        for (uint64_t i = 0; i < count; ++i) {
            rfs::pic_day_t day;
            std::memcpy(&day, block.data() + at + i * size, sizeof day);
            visit(day);
        }
        taken += count;
        if (taken == head.writted_count || blocks == kMaxPicMonBlocks)
            return PictureDaysResult::Read;
        inBlock = rfs::kPicMonBlockSize / size;
        const std::size_t bytes =
            static_cast<std::size_t>(std::min<uint64_t>(inBlock, head.writted_count - taken) * size);
        if (!read(head.pic_mon_offset + taken * size, bytes))
            return PictureDaysResult::ShortRead;
        at = 0;
    }
}

}  // namespace kvrfs
