#include "Event.h"

namespace kvplay {

void Event::set() {
    {
        std::lock_guard guard(lock_);
        set_ = true;
    }
    changed_.notify_all();
}

void Event::reset() {
    std::lock_guard guard(lock_);
    set_ = false;
}

bool Event::consumeLocked() {
    if (!set_)
        return false;
    if (!manualReset_)
        set_ = false;
    return true;
}

void Event::wait() {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [this] { return set_; });
    consumeLocked();
}

bool Event::waitFor(std::chrono::microseconds timeout) {
    std::unique_lock guard(lock_);
    changed_.wait_for(guard, timeout, [this] { return set_; });
    return consumeLocked();
}

bool Event::tryConsume() {
    std::lock_guard guard(lock_);
    return consumeLocked();
}

bool Event::isSet() const {
    std::lock_guard guard(lock_);
    return set_;
}

void Event::waitSetFor(std::chrono::microseconds timeout) const {
    std::unique_lock guard(lock_);
    changed_.wait_for(guard, timeout, [this] { return set_; });
}

}  // namespace kvplay
