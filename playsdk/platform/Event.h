// A waitable flag in the manner of the design's events: manual reset (stays set until reset) or
// automatic reset (one waiter consumes each set).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kvplay {

class Event {
public:
    explicit Event(bool manualReset, bool initiallySet = false) : manualReset_(manualReset), set_(initiallySet) {}

    void set();
    void reset();
    void wait();
    // True when the event was set within the time; an automatic-reset event is consumed by it.
    bool waitFor(std::chrono::microseconds timeout);
    // Consumes the event when set (automatic reset), without waiting.
    bool tryConsume();
    bool isSet() const;
    // Waits until the event is set or the time is up, without consuming it.
    void waitSetFor(std::chrono::microseconds timeout) const;

private:
    bool consumeLocked();

    const bool manualReset_;
    bool set_;
    mutable std::mutex lock_;
    mutable std::condition_variable changed_;
};

}  // namespace kvplay
