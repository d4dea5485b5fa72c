#include "ChildProcess.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace exportbench {

ChildRun runChild(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(args[0], args.data());
        _exit(127);
    }
    ChildRun run;
    if (pid < 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // KiB on Linux
    return run;
}

}  // namespace exportbench
