#include "Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace kvplay {
namespace {

SteadyClock steadyClock;
std::atomic<Clock*> installedClock{&steadyClock};

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

void SteadyClock::sleepUs(int64_t us) {
    std::this_thread::sleep_for(std::chrono::microseconds(us));
}

Clock& engineClock() {
    return *installedClock.load(std::memory_order_acquire);
}

void setEngineClock(Clock* clock) {
    installedClock.store(clock ? clock : &steadyClock, std::memory_order_release);
}

}  // namespace kvplay
