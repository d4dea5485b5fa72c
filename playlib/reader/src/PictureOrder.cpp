#include "PictureOrder.h"

#include "rfs/PackedTime.h"

namespace kvrfs {
namespace {

bool before(const rfs_pic_t& a, const rfs_pic_t& b) {
    const rfs::PackedTime ta = rfs::packTime(a.time);
    const rfs::PackedTime tb = rfs::packTime(b.time);
    return ta != tb ? ta < tb : a.pic_chn < b.pic_chn;
}

}  // namespace

void sortPictures(std::vector<rfs_pic_t>& list) {
    for (const std::size_t gap : {9u, 5u, 3u, 2u, 1u}) {
        for (std::size_t i = gap; i < list.size(); ++i) {
            const rfs_pic_t moving = list[i];
            std::size_t j = i;
            for (; j >= gap && before(moving, list[j - gap]); j -= gap)
                list[j] = list[j - gap];
            list[j] = moving;
        }
    }
}

}  // namespace kvrfs
