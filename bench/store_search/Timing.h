// Wall-clock timing of warm runs and the statistics the report shows.
#pragma once

#include <chrono>
#include <vector>

#include "IoCounter.h"

namespace storebench {

constexpr int kTimedRuns = 7;

template <typename Run>
double elapsedMs(Run&& run) {
    const auto started = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
}

double median(std::vector<double> values);
double mean(const std::vector<double>& values);
// The value below which `fraction` of the values lie (nearest rank).
double percentile(std::vector<double> values, double fraction);

struct TimedRuns {
    double medianMs = 0;
    IoCount perRun;  // reads of one run
};

// Runs once to warm the page cache, then kTimedRuns times.
template <typename Run>
TimedRuns timeWarm(Run&& run) {
    run();
    std::vector<double> times;
    IoCount io;
    for (int i = 0; i < kTimedRuns; ++i) {
        const IoCount before = ioCount();
        times.push_back(elapsedMs(run));
        io = ioCount() - before;
    }
    return TimedRuns{median(times), io};
}

}  // namespace storebench
