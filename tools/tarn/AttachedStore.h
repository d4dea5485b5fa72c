// A store attached to its reader library as disk 0 for the life of the object, the way the player
// attaches it. Attaching repairs what the recorder left unfinished on the medium. Hard-disk stores go
// to KVPlayHDD, SD cards (told by --sd or by their store version) to KVPlaySD.
#pragma once

#include <string>

#include "StoreReader.h"

namespace tarn {

class AttachedStore {
public:
    // Throws Failure naming what is wrong with the path or the store.
    AttachedStore(const std::string& path, bool sdGiven);
    ~AttachedStore();

    AttachedStore(const AttachedStore&) = delete;
    AttachedStore& operator=(const AttachedStore&) = delete;

    const StoreReader& reader() const { return reader_; }
    bool sdCard() const { return &reader_ == &sdStoreReader(); }

private:
    const StoreReader& reader_;
};

// The reader of the store attached now; the commands attach one store at a time.
const StoreReader& attachedReader();

}  // namespace tarn
