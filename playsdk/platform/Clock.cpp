#include "Clock.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace kvplay {
namespace {

// Never destroyed: the render timer's thread and work items read the clock during static destruction.
Clock& steadyClock() {
    static SteadyClock* clock = new SteadyClock;
    return *clock;
}

std::atomic<Clock*> installedClock{nullptr};  // null: the steady clock

struct ClockListeners {
    std::mutex lock;
    std::vector<Event*> events;
};

ClockListeners& listeners() {
    static ClockListeners* l = new ClockListeners;  // used by threads that outlive static destruction
    return *l;
}

}  // namespace

int64_t SteadyClock::nowUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

bool SteadyClock::waitEvent(Event& event, int64_t timeoutUs) {
    if (timeoutUs < 0) {
        event.wait();
        return true;
    }
    return event.waitFor(std::chrono::microseconds(timeoutUs));
}

Clock& engineClock() {
    Clock* installed = installedClock.load(std::memory_order_acquire);
    return installed ? *installed : steadyClock();
}

void setEngineClock(Clock* clock) {
    installedClock.store(clock, std::memory_order_release);
    std::lock_guard guard(listeners().lock);
    for (Event* e : listeners().events)
        e->set();
}

void wakeOnClockChange(Event& event) {
    std::lock_guard guard(listeners().lock);
    listeners().events.push_back(&event);
}

}  // namespace kvplay
