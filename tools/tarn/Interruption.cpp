#include "Interruption.h"

namespace tarn {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void noteInterruption(int) { gInterrupted = 1; }

}  // namespace

InterruptionWatch::InterruptionWatch() {
    gInterrupted = 0;
    struct sigaction action {};
    action.sa_handler = noteInterruption;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t watched;
    sigemptyset(&watched);
    for (int i = 0; i < 3; ++i) {
        sigaction(kSignals[i], &action, &previous_[i]);
        sigaddset(&watched, kSignals[i]);
    }
    sigprocmask(SIG_UNBLOCK, &watched, &previousMask_);
}

InterruptionWatch::~InterruptionWatch() {
    sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &previous_[i], nullptr);
}

bool InterruptionWatch::interrupted() const { return gInterrupted != 0; }

}  // namespace tarn
