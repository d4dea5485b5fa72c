#include "FakeClock.h"

#include <algorithm>
#include <thread>

#include "WorkPool.h"

namespace kvplay {
namespace {

constexpr auto kPollInterval = std::chrono::microseconds(200);

}  // namespace

FakeClock::~FakeClock() {
    release();
}

int64_t FakeClock::nowUs() {
    std::lock_guard guard(lock_);
    return now_;
}

bool FakeClock::waitEnded(const Waiter& w) const {
    return released_ || (w.deadline >= 0 && now_ >= w.deadline) || w.event->isSet();
}

bool FakeClock::waitEvent(Event& event, int64_t timeoutUs) {
    std::unique_lock guard(lock_);
    const auto me = waiters_.insert(waiters_.end(), Waiter{&event, timeoutUs < 0 ? -1 : now_ + timeoutUs});
    for (;;) {
        // Consuming and leaving the list happen under the clock's lock, so quiescent() never sees a
        // waiter that has been woken but still looks blocked.
        const bool signalled = event.tryConsume();
        if (signalled || waitEnded(*me)) {
            waiters_.erase(me);
            return signalled;
        }
        guard.unlock();
        event.waitSetFor(kPollInterval);
        guard.lock();
    }
}

void FakeClock::advanceUs(int64_t us) {
    std::lock_guard guard(lock_);
    now_ += us;
}

bool FakeClock::quiescent() {
    std::lock_guard guard(lock_);
    const auto blocked =
        std::count_if(waiters_.begin(), waiters_.end(), [this](const Waiter& w) { return !waitEnded(w); });
    return WorkPool::instance().pendingItems() == static_cast<std::size_t>(blocked);
}

void FakeClock::release() {
    std::unique_lock guard(lock_);
    released_ = true;
    while (!waiters_.empty()) {
        guard.unlock();
        std::this_thread::sleep_for(kPollInterval);
        guard.lock();
    }
}

}  // namespace kvplay
