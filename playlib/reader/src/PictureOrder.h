// The order of a picture list: by time, then by channel. The recorder sorts with a Shell sort over the
// gaps 9, 5, 3, 2, 1; the same sort keeps pictures that tie in the order the recorder leaves them.
#pragma once

#include <vector>

#include "rfs/rfs_types.h"

namespace kvrfs {

void sortPictures(std::vector<rfs_pic_t>& list);

}  // namespace kvrfs
