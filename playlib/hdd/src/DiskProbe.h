// Probing a store by path, without attaching it: what the disk chooser lists.
#pragma once

#include <cstdint>

namespace kvrfs {

int32_t probeDiskParam(const char* path, void* param);
int32_t probeDiskParamWithFreeFiles(const char* path, void* param);

}  // namespace kvrfs
