#include "InstanceRegistry.h"

#include <memory>
#include <mutex>
#include <new>
#include <set>

#include "CDecodePlay.h"
#include "CDualTalk.h"
#include "CLocalFilePlay.h"
#include "CLocalFileThumbnail.h"
#include "CNetFilePlay.h"
#include "CSyncPlay.h"
#include "DisplayWatcher.h"

namespace kvplay {
namespace {

struct Registry {
    std::mutex lock;
    std::set<CPlayInstance*> handles;
};

Registry& registry() {
    static Registry r;
    return r;
}

std::unique_ptr<CPlayInstance> construct(int32_t type) {
    switch (type) {
        case 0:
            return std::unique_ptr<CPlayInstance>(new (std::nothrow) CLocalFilePlay);
        case 1:
            return std::unique_ptr<CPlayInstance>(new (std::nothrow) CNetFilePlay);
        case 2:
            return std::unique_ptr<CPlayInstance>(new (std::nothrow)
                                                      CNetStreamPlay(InstanceType::NetStream, 250, true));
        case 3:
            return std::unique_ptr<CPlayInstance>(new (std::nothrow) CDualTalk);
        case 4:
            return std::unique_ptr<CPlayInstance>(new (std::nothrow) CSyncPlay);
        case 6:
            return std::unique_ptr<CPlayInstance>(new (std::nothrow) CDecodePlay);
        case 7:
            return std::unique_ptr<CPlayInstance>(new (std::nothrow) CLocalFileThumbnail);
        default:
            return nullptr;
    }
}

// Tells every registered instance about a new monitor layout; false when none is registered.
bool announceLayout(const std::vector<MonitorEntry>& monitors) {
    std::lock_guard guard(registry().lock);
    for (CPlayInstance* instance : registry().handles)
        instance->displayConfigurationChanged(monitors);
    return !registry().handles.empty();
}

}  // namespace

CPlayInstance* createPlayInstance(int32_t type) {
    startDisplayWatcher(announceLayout);
    std::unique_ptr<CPlayInstance> instance = construct(type);
    if (!instance)
        return nullptr;
    std::lock_guard guard(registry().lock);
    registry().handles.insert(instance.get());
    return instance.release();
}

void destroyPlayInstance(CPlayInstance* instance) {
    {
        std::lock_guard guard(registry().lock);
        // A handle that is not registered (destroyed already, or foreign) is left alone.
        if (registry().handles.erase(instance) == 0)
            return;
    }
    delete instance;
}

}  // namespace kvplay
