// Runs the tarn binary with arguments, each quoted for the shell.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RunCommand.h"

inline std::string tarnCommandLine(const std::vector<std::string>& args) {
    std::string command = TARN_PATH;
    for (const std::string& arg : args)
        command += " " + ::quoted(std::filesystem::path(arg));
    return command;
}

inline CommandResult tarn(const std::vector<std::string>& args) {
    return runCommand(tarnCommandLine(args));
}

// The one-sentence refusal every tarn command gives: exit status 1, nothing on stdout, one line on stderr.
inline ::testing::AssertionResult refusedInOneLine(const CommandResult& r) {
    if (r.exitStatus != 1)
        return ::testing::AssertionFailure() << "exit status " << r.exitStatus << ", stderr: " << r.err;
    if (!r.out.empty())
        return ::testing::AssertionFailure() << "printed: " << r.out;
    if (r.err.rfind("tarn: ", 0) != 0 || std::count(r.err.begin(), r.err.end(), '\n') != 1 || r.err.back() != '\n')
        return ::testing::AssertionFailure() << "stderr is not one \"tarn: \" line: " << r.err;
    return ::testing::AssertionSuccess();
}
