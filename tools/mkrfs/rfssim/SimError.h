// The error a user can fix: a bad scenario, a store that cannot hold it, an output in the way.
#pragma once

#include <stdexcept>
#include <string>

namespace rfssim {

class SimError : public std::runtime_error {
public:
    explicit SimError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace rfssim
