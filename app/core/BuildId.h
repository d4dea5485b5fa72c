// The GNU build id of the running program, which ties a crash report to the exact binary and its
// separate debug information.
#pragma once

#include <string>

// Lower-case hexadecimal; empty when the program was linked without one.
std::string programBuildId();
