// A store attached to the reader library as disk 0 for the life of the object, the way the player
// attaches it. Attaching repairs what the recorder left unfinished on the medium.
#pragma once

#include <string>

namespace tarn {

class AttachedStore {
public:
    // Throws Failure naming what is wrong with the path or the store.
    explicit AttachedStore(const std::string& path);
    ~AttachedStore();

    AttachedStore(const AttachedStore&) = delete;
    AttachedStore& operator=(const AttachedStore&) = delete;
};

}  // namespace tarn
