// The reader's life cycle: initialisation, access mode, attaching and removing disks.
#pragma once

#include <cstdint>

namespace kvrfs {

int32_t initReader(int maxRecChannels, int moareaNums);
int32_t setAccessModeByte(int mode);
int32_t attachDisk(int diskId, const char* path, int diskType, int group);
int32_t removeDisk(int diskId);

}  // namespace kvrfs
