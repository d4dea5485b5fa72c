#include "DiskProbe.h"

#include <algorithm>
#include <cstring>

#include "DiskParamIo.h"
#include "DiskRegistry.h"
#include "MessageLine.h"
#include "PartitionLoader.h"

namespace kvrfs {

int32_t probeDiskParam(const char* path, void* param) {
    if (path == nullptr || param == nullptr)
        return -1;
    const auto block = readDiskParam(registry().mode(), path);
    if (!block)
        return -1;
    std::memcpy(param, &*block, sizeof *block);
    return 0;
}

int32_t probeDiskParamWithFreeFiles(const char* path, void* param) {
    if (path == nullptr || param == nullptr)
        return -1;
    DiskRegistry& reg = registry();
    const std::string storePath = path;
    auto block = readDiskParam(reg.mode(), storePath);
    // Partitions are located, and possibly repaired, from this block: never trust one that fails
    // the recorder's own test.
    if (!block || !validateDiskParam(*block))
        return -1;

    uint32_t freeFiles = 0;
    for (int p = 0; p < block->part_count; ++p) {
        rfs::part_info_t info{};
        const int result = loadPartition(IndexLocation{reg.mode(), storePath, *block, p}, info);
        if (result != 0) {
            message("add disk repair record:%s part:%d failed! ret=%d\n", storePath.c_str(), p, result);
            continue;
        }
        reg.maxFileNr = std::max<uint32_t>(reg.maxFileNr, info.file_nr);
        message("add disk repair record:%s part:%d sucess!\n", storePath.c_str(), p);
        freeFiles += info.free_nr;
    }
    block->free_files = freeFiles;
    std::memcpy(param, &*block, sizeof *block);
    return 0;
}

}  // namespace kvrfs
