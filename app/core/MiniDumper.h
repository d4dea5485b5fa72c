// The crash reporter: when the program dies of a fault it writes a report and then lets the signal end
// the process, so that the exit status still shows the crash.
#pragma once

#include <string>

class MiniDumper {
public:
    // Handles SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT from now on. Call once, before the
    // application object and any thread exist. A crash writes
    // "<reportFolder>/<programName>_YYYY_MM_DD_hh_mm_ss.dmp" (local time), creating the folder when
    // needed, with the program, its version and build id, the signal, the fault address or the sender,
    // the process id, a backtrace and a last line "end of report". With debugOutput, a note on stderr
    // tells where the report went or why it could not be written. False when called a second time,
    // when the folder is empty or too long, or when the system refuses the alternate stack or a handler.
    static bool install(const std::string& programName, const std::string& version, const std::string& reportFolder,
                        bool debugOutput);

    // "$XDG_DATA_HOME/<programName>" when that variable holds an absolute path, else
    // "$HOME/.local/share/<programName>"; empty when neither is known.
    static std::string defaultReportFolder(const std::string& programName);
};
