// What `tarn info` shows of a store, read without writing anything to it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rfs/DiskParam.h"
#include "rfs/IndexRecords.h"

namespace tarn {

enum class StoreKind { Directory, Image, BlockDevice };

struct PartitionSummary {
    int number = 0;
    bool readable = false;
    uint8_t validCopies = 0;
    rfs::part_info_t info{};
};

struct StoreSummary {
    std::string path;
    StoreKind kind = StoreKind::Image;
    rfs::disk_param_t param{};
    bool sdCard = false;  // by its store version
    std::vector<PartitionSummary> partitions;
    uint32_t freeFiles = 0;  // over the readable partitions
};

// The store's kind from what the path names; nullopt (with a reason) when it names nothing usable.
std::optional<StoreKind> storeKindOf(const std::string& path, std::string& reason);

// Reads the parameter block through the reader library and the partition infos from their primary
// index copies. Fails with one sentence in `reason` when the path holds no readable store.
std::optional<StoreSummary> readStoreSummary(const std::string& path, std::string& reason);

}  // namespace tarn
