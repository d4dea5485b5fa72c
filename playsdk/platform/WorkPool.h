// The engine's thread pool. It grows whenever an item arrives and no worker is idle, so loops that
// occupy a worker for good (the render timer, the blank-picture loop) can never starve decoding; workers
// left idle for a while end.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace kvplay {

class WorkPool {
public:
    static WorkPool& instance();

    void submit(std::function<void()> item);
    // Items submitted and not yet finished.
    std::size_t pendingItems() const;

private:
    WorkPool() = default;
    void work();

    mutable std::mutex lock_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> queue_;
    std::size_t idle_ = 0;
    std::size_t pending_ = 0;
};

}  // namespace kvplay
