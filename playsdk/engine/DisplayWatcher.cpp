#include "DisplayWatcher.h"

#include <mutex>

#include "Clock.h"
#include "Event.h"
#include "WorkPool.h"

namespace kvplay {
namespace {

constexpr int64_t kLookEveryUs = 2'000'000;

}  // namespace

void startDisplayWatcher(std::function<bool(const std::vector<MonitorEntry>&)> notify) {
    static std::once_flag started;
    std::call_once(started, [&] {
        // Never stopped: it runs until the process ends, like the render timer.
        auto* wake = new Event(false);
        wakeOnClockChange(*wake);
        WorkPool::instance().submit([wake, notify = std::move(notify)] {
            std::vector<MonitorEntry> known;
            for (;;) {
                engineClock().waitEvent(*wake, kLookEveryUs);
                std::vector<MonitorEntry> now = currentMonitors();
                // A layout seen while no instance is registered is not kept.
                if (monitorLayoutsDiffer(now, known) && notify(now))
                    known = std::move(now);
            }
        });
    });
}

}  // namespace kvplay
