// The names a shared library exports, as nm lists them.
#pragma once

#include <cstdio>
#include <set>
#include <stdexcept>
#include <string>

inline std::set<std::string> exportedSymbols(const std::string& library) {
    const std::string command = "nm -D --defined-only " + library;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        throw std::runtime_error("cannot run " + command);
    std::set<std::string> exported;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        char type = 0;
        char name[400] = {};
        unsigned long long address = 0;
        if (std::sscanf(line, "%llx %c %399s", &address, &type, name) == 3)
            exported.insert(name);
    }
    if (pclose(pipe) != 0)
        throw std::runtime_error(command + " failed");
    return exported;
}
