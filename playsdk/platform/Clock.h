// The engine's sense of time: a monotonic microsecond clock and the waits measured against it. The
// engine asks engineClock() every time, so tests can install a fake clock and step it.
#pragma once

#include <cstdint>

#include "Event.h"

namespace kvplay {

class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t nowUs() = 0;
    // Waits until the event is set (consuming an automatic-reset event) or timeoutUs of this clock have
    // passed; a negative timeout waits for the event alone. True when the event was set.
    virtual bool waitEvent(Event& event, int64_t timeoutUs) = 0;

    int64_t nowMs() { return nowUs() / 1000; }
};

class SteadyClock final : public Clock {
public:
    int64_t nowUs() override;
    bool waitEvent(Event& event, int64_t timeoutUs) override;
};

Clock& engineClock();
// Installs a clock for the engine; null restores the steady clock. Every event registered below is
// set, so that threads waiting on the old clock look again.
void setEngineClock(Clock* clock);
// For threads that wait on the engine clock for good (the render timer, the display watcher).
void wakeOnClockChange(Event& event);

}  // namespace kvplay
