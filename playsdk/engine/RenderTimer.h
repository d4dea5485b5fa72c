// The process-wide render timer: one thread that calls each entry's callback when its due time (in
// milliseconds of the engine clock) comes. Entries due within 3 ms are called at once.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "Event.h"

namespace kvplay {

class RenderTimer {
public:
    using Callback = void (*)(void* argument);

    // Created, with its thread, on first use.
    static RenderTimer& instance();

    void add(int64_t dueMs, Callback callback, void* argument);
    // Removes the argument's entries without calling them; false when there was none.
    bool cancelFor(void* argument);
    // Removes every entry of the argument and calls each removed callback once.
    void fireAllFor(void* argument);

private:
    struct Entry {
        int64_t dueMs;
        Callback callback;
        void* argument;
    };

    RenderTimer() = default;
    void run();

    std::mutex lock_;
    Event wake_{false};
    std::vector<Entry> entries_;  // by due time; equal times keep their order
};

}  // namespace kvplay
