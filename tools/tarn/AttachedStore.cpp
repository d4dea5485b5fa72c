#include "AttachedStore.h"

#include "ChannelSelection.h"
#include "Failure.h"
#include "StoreSummary.h"

namespace tarn {
namespace {

constexpr int kDisk = 0;
constexpr int kMotionAreas = 20;

const StoreReader* current = nullptr;

// The card's version decides when --sd was not given; an unreadable store is left to the attach.
const StoreReader& readerFor(const std::string& path, bool sdCard) {
    std::string reason;
    const auto summary = readStoreSummary(path, reason);
    return sdCard || (summary && summary->sdCard) ? sdStoreReader() : hddStoreReader();
}

}  // namespace

AttachedStore::AttachedStore(const std::string& path, bool sdGiven) : reader_(readerFor(path, sdGiven)) {
    std::string reason;
    const auto kind = storeKindOf(path, reason);
    if (!kind)
        throw Failure(reason);
    if (sdCard() && *kind != StoreKind::Directory)
        throw Failure(path + " is not a folder: an SD card's store is read from the card's folder");
    if (reader_.init(ChannelLayout::kMaxChannels, kMotionAreas) != 0)
        throw Failure("the reader library refused to start");
    const int32_t result = reader_.addDisk(kDisk, path, *kind == StoreKind::Directory);
    if (result == 0) {
        current = &reader_;
        return;
    }
    // The summary names what is wrong with a parameter block; past that only the reader's code is known.
    if (!readStoreSummary(path, reason))
        throw Failure(reason);
    throw Failure(path + " cannot be attached: the reader refused it with code " + std::to_string(result));
}

AttachedStore::~AttachedStore() {
    reader_.removeDisk(kDisk);
    current = nullptr;
}

const StoreReader& attachedReader() {
    if (current == nullptr)
        throw Failure("no store is attached");
    return *current;
}

}  // namespace tarn
