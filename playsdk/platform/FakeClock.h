// A clock that moves only when a test advances it. Waits measured against it are tracked so that a test
// can tell when the engine has done everything the current time allows (quiescent).
#pragma once

#include <cstdint>
#include <list>
#include <mutex>

#include "Clock.h"

namespace kvplay {

class FakeClock final : public Clock {
public:
    explicit FakeClock(int64_t startUs = 1'000'000'000) : now_(startUs) {}
    ~FakeClock() override;

    int64_t nowUs() override;
    bool waitEvent(Event& event, int64_t timeoutUs) override;

    void advanceUs(int64_t us);
    // Every pending work item is blocked in a wait on this clock that the current time does not end.
    bool quiescent();
    // Ends every wait at once (the clock is going away).
    void release();

private:
    struct Waiter {
        Event* event;
        int64_t deadline;  // < 0: none
    };
    bool waitEnded(const Waiter& w) const;

    std::mutex lock_;
    int64_t now_;
    bool released_ = false;
    std::list<Waiter> waiters_;
};

}  // namespace kvplay
