// Reading a sought event: sequentially, or key frame by key frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

int32_t readSequential(int handle, unsigned char* buffer, std::size_t length, int* skip, rfs_read_pos_t* out);

enum class KeyFrameStep { Current, Next, Previous };
int32_t readKeyFrame(int handle, unsigned char* buffer, std::size_t length, int* skip, KeyFrameStep step, int n,
                     rfs_read_pos_t* out);

}  // namespace kvrfs
