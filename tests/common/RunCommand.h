// Runs a shell command and collects its exit status, standard output and standard error.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

struct CommandResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

inline CommandResult runCommand(const std::string& command) {
    const std::filesystem::path errFile =
        std::filesystem::temp_directory_path() / ("tarn-test-stderr-" + std::to_string(::getpid()));
    CommandResult result;
    FILE* pipe = popen((command + " 2>" + errFile.string()).c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    std::stringstream text;
    text << err.rdbuf();
    result.err = text.str();
    std::filesystem::remove(errFile);
    return result;
}

// Quotes a path for the shell.
inline std::string quoted(const std::filesystem::path& path) {
    std::string text = "'";
    for (char c : path.string())
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}
