#include "RenderTimer.h"

#include <algorithm>

#include "Clock.h"
#include "WorkPool.h"

namespace kvplay {
namespace {

constexpr int64_t kDueWithinMs = 3;

}  // namespace

RenderTimer& RenderTimer::instance() {
    // Never destroyed: its thread runs until the process ends.
    static RenderTimer* timer = [] {
        auto* t = new RenderTimer;
        wakeOnClockChange(t->wake_);
        WorkPool::instance().submit([t] { t->run(); });
        return t;
    }();
    return *timer;
}

void RenderTimer::add(int64_t dueMs, Callback callback, void* argument) {
    {
        std::lock_guard guard(lock_);
        const auto at = std::upper_bound(entries_.begin(), entries_.end(), dueMs,
                                         [](int64_t due, const Entry& e) { return due < e.dueMs; });
        entries_.insert(at, Entry{dueMs, callback, argument});
    }
    wake_.set();
}

void RenderTimer::fireAllFor(void* argument) {
    std::lock_guard guard(lock_);
    const auto removed = std::stable_partition(entries_.begin(), entries_.end(),
                                               [argument](const Entry& e) { return e.argument != argument; });
    for (auto e = removed; e != entries_.end(); ++e)
        e->callback(e->argument);
    entries_.erase(removed, entries_.end());
}

bool RenderTimer::cancelFor(void* argument) {
    std::lock_guard guard(lock_);
    return std::erase_if(entries_, [argument](const Entry& e) { return e.argument == argument; }) != 0;
}

void RenderTimer::run() {
    for (;;) {
        int64_t waitUs = -1;
        {
            std::lock_guard guard(lock_);
            const int64_t now = engineClock().nowMs();
            while (!entries_.empty() && entries_.front().dueMs - now < kDueWithinMs) {
                const Entry e = entries_.front();
                entries_.erase(entries_.begin());
                e.callback(e.argument);
            }
            if (!entries_.empty())
                waitUs = (entries_.front().dueMs - now) * 1000;
        }
        engineClock().waitEvent(wake_, waitUs);
    }
}

}  // namespace kvplay
