#include "AttachedStore.h"

#include "ChannelSelection.h"
#include "Failure.h"
#include "KVPlayHDD.h"
#include "StoreSummary.h"

namespace tarn {
namespace {

constexpr int kDisk = 0;
constexpr int kNormalDisk = 0;
constexpr int kGroup = 0;
constexpr int kMotionAreas = 20;

}  // namespace

AttachedStore::AttachedStore(const std::string& path) {
    std::string reason;
    const auto kind = storeKindOf(path, reason);
    if (!kind)
        throw Failure(reason);
    if (KVrfs_init_hdd(ChannelLayout::kMaxChannels, kMotionAreas) != 0)
        throw Failure("the reader library refused to start");
    KVrfs_mode_set(*kind == StoreKind::Directory ? 1 : 0);
    const int32_t result = KVrfs_add_disk_hdd(kDisk, path.c_str(), kNormalDisk, kGroup, nullptr);
    if (result == 0)
        return;
    // The summary names what is wrong with a parameter block; past that only the reader's code is known.
    if (!readStoreSummary(path, reason))
        throw Failure(reason);
    throw Failure(path + " cannot be attached: the reader refused it with code " + std::to_string(result));
}

AttachedStore::~AttachedStore() {
    KVrfs_remove_disk_hdd(kDisk);
}

}  // namespace tarn
