// Ctrl-C, a hang-up or a termination request stop a long command at its next step, so that it can
// clean up, instead of killing it in the middle of writing a file.
#pragma once

#include <csignal>

namespace tarn {

class InterruptionWatch {
public:
    // Catches SIGINT, SIGHUP and SIGTERM, and unblocks them should the caller have blocked them.
    InterruptionWatch();
    ~InterruptionWatch();

    InterruptionWatch(const InterruptionWatch&) = delete;
    InterruptionWatch& operator=(const InterruptionWatch&) = delete;

    bool interrupted() const;

private:
    static constexpr int kSignals[] = {SIGINT, SIGHUP, SIGTERM};
    struct sigaction previous_[3];
    sigset_t previousMask_;
};

}  // namespace tarn
