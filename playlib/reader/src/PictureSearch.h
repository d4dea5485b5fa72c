// The picture search: the picture index of every picture file on the attached disks, in two passes
// (normal disks, then redundant disks), into slot 0's picture list of a handle, sorted by time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

// A search lists at most this many pictures; past it the list is cut to its earliest kMaxKeptPictures.
constexpr std::size_t kPictureCutThreshold = 9999;
constexpr std::size_t kMaxKeptPictures = 5000;

// 0, or a negative search result; the handle's picture list holds what was found.
int32_t runPictureSearch(int handle, const rfs_find_param_t& param);

}  // namespace kvrfs
