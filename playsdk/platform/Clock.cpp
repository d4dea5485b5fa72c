#include "Clock.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace kvplay {
namespace {

SteadyClock steadyClock;
std::atomic<Clock*> installedClock{&steadyClock};

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
    return *installedClock.load(std::memory_order_acquire);
}

void setEngineClock(Clock* clock) {
    installedClock.store(clock ? clock : &steadyClock, std::memory_order_release);
    std::lock_guard guard(listeners().lock);
    for (Event* e : listeners().events)
        e->set();
}

void wakeOnClockChange(Event& event) {
    std::lock_guard guard(listeners().lock);
    listeners().events.push_back(&event);
}

}  // namespace kvplay
