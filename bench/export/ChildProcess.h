// Runs a program to its end and measures it: wall time and the peak resident memory of the process.
#pragma once

#include <string>
#include <vector>

namespace exportbench {

struct ChildRun {
    int exitStatus = -1;
    double seconds = 0;
    double peakMiB = 0;  // the child's largest resident set
};

// argv[0] is the program's path; standard output and error go to /dev/null.
ChildRun runChild(const std::vector<std::string>& argv);

}  // namespace exportbench
