// A command's refusal: one sentence for the user, and exit status 1.
#pragma once

#include <iostream>
#include <stdexcept>

namespace tarn {

class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs a command's body; a Failure is reported as "tarn: <sentence>" on stderr with exit status 1.
template <typename Body>
void runReportingFailure(int& exitStatus, Body body) {
    try {
        body();
        exitStatus = 0;
    } catch (const Failure& failure) {
        std::cerr << "tarn: " << failure.what() << "\n";
        exitStatus = 1;
    }
}

}  // namespace tarn
