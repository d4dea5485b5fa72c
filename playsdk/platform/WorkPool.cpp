#include "WorkPool.h"

#include <chrono>
#include <thread>

namespace kvplay {
namespace {

constexpr auto kIdleLifetime = std::chrono::seconds(10);

}  // namespace

WorkPool& WorkPool::instance() {
    // Never destroyed: detached workers may still be waiting on it while the process exits.
    static WorkPool* pool = new WorkPool;
    return *pool;
}

void WorkPool::submit(std::function<void()> item) {
    bool grow = false;
    {
        std::lock_guard guard(lock_);
        queue_.push_back(std::move(item));
        ++pending_;
        if (idle_ < queue_.size()) {
            grow = true;
        }
    }
    if (grow)
        std::thread([this] { work(); }).detach();
    else
        arrived_.notify_one();
}

void WorkPool::work() {
    std::unique_lock guard(lock_);
    for (;;) {
        while (queue_.empty()) {
            ++idle_;
            const bool arrived = arrived_.wait_for(guard, kIdleLifetime, [this] { return !queue_.empty(); });
            --idle_;
            if (!arrived) {
                return;
            }
        }
        std::function<void()> item = std::move(queue_.front());
        queue_.pop_front();
        guard.unlock();
        item();
        item = nullptr;
        guard.lock();
        --pending_;
    }
}

std::size_t WorkPool::pendingItems() const {
    std::lock_guard guard(lock_);
    return pending_;
}

}  // namespace kvplay
