// The crash reporter, run in child processes that crash on purpose, and the calendar arithmetic that
// its signal handler does by hand.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <barrier>
#include <cerrno>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CivilTime.h"
#include "MiniDumper.h"
#include "RunCommand.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

constexpr char kProgram[] = "TarnCrashTest";
constexpr char kVersion[] = "9.8.7-test";

// Sets an environment variable, or removes it for nullopt, and puts back the old value at the end.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        set(value);
    }
    ~ScopedEnv() { set(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        if (value)
            setenv(name_, value->c_str(), 1);
        else
            unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

// How a child process ended and what it wrote on stderr.
struct ChildEnd {
    pid_t pid = -1;
    int status = 0;
    std::string err;
};

// Runs `body` in a forked child whose stderr is collected; the child exits with 0 when body returns.
ChildEnd runChild(const std::function<void()>& body) {
    ChildEnd end;
    int fds[2];
    if (pipe(fds) != 0)
        return end;
    end.pid = fork();
    if (end.pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDERR_FILENO);
        close(fds[1]);
        body();
        _exit(0);
    }
    close(fds[1]);
    char buffer[4096];
    ssize_t n = 0;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        end.err.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    close(fds[0]);
    waitpid(end.pid, &end.status, 0);
    return end;
}

std::string describe(int status) {
    if (WIFSIGNALED(status))
        return "killed by signal " + std::to_string(WTERMSIG(status));
    return "exited with " + std::to_string(WEXITSTATUS(status));
}

// In the child: installs the reporter or exits with 3 so that the parent sees why nothing crashed.
void installOrExit(const fs::path& folder, bool debugOutput) {
    if (!MiniDumper::install(kProgram, kVersion, folder.string(), debugOutput))
        _exit(3);
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        files.push_back(entry.path());
    return files;
}

// The local time a report's name gives, or -1 when the name does not have the report's form.
time_t timeInName(const std::string& name) {
    static const std::regex form(std::string(kProgram) + R"(_(\d{4})_(\d{2})_(\d{2})_(\d{2})_(\d{2})_(\d{2})\.dmp)");
    std::smatch parts;
    if (!std::regex_match(name, parts, form))
        return -1;
    tm local{};
    local.tm_year = std::stoi(parts[1]) - 1900;
    local.tm_mon = std::stoi(parts[2]) - 1;
    local.tm_mday = std::stoi(parts[3]);
    local.tm_hour = std::stoi(parts[4]);
    local.tm_min = std::stoi(parts[5]);
    local.tm_sec = std::stoi(parts[6]);
    local.tm_isdst = -1;
    return mktime(&local);
}

// The build id of this test program, as binutils read it from the file.
std::string buildIdOfThisProgram() {
    const CommandResult result = runCommand("readelf -n " + quoted(fs::read_symlink("/proc/self/exe")));
    static const std::regex line(R"(Build ID: ([0-9a-f]+))");
    std::smatch match;
    return std::regex_search(result.out, match, line) ? match[1].str() : std::string();
}

std::string hexAddress(const void* address) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%016" PRIxPTR, reinterpret_cast<std::uintptr_t>(address));
    return text;
}

// Pages that fault on every access, mapped before the fork so that the parent knows their addresses.
struct FaultPages {
    FaultPages() {
        const auto size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        forbidden = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        // A page of an empty file lies past the file's end: reading it raises SIGBUS.
        const int empty = memfd_create("empty", MFD_CLOEXEC);
        pastEnd = mmap(nullptr, size, PROT_READ, MAP_SHARED, empty, 0);
        close(empty);
    }
    ~FaultPages() {
        const auto size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        munmap(forbidden, size);
        munmap(pastEnd, size);
    }
    FaultPages(const FaultPages&) = delete;
    FaultPages& operator=(const FaultPages&) = delete;

    void* forbidden = MAP_FAILED;
    void* pastEnd = MAP_FAILED;
};

void writeForbidden(const FaultPages& pages) {
    *static_cast<volatile int*>(pages.forbidden) = 1;
}

void readPastEnd(const FaultPages& pages) {
    (void)*static_cast<volatile const char*>(pages.pastEnd);
}

// Recurses until the stack is used up; the report can then only be written on another stack.
std::size_t overflowStack(std::size_t depth) {
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    return depth == 0 ? frame[0] : overflowStack(depth - 1) + frame[0];
}

// The frames that follow the report's "backtrace:" line, or -1 when there is no such line.
std::ptrdiff_t backtraceFrames(const std::string& report) {
    const std::size_t at = report.find("backtrace:\n");
    if (at == std::string::npos)
        return -1;
    static const std::regex frame(R"(\[0x[0-9a-f]+\]\n)");
    const std::string frames = report.substr(at);
    return std::distance(std::sregex_iterator(frames.begin(), frames.end(), frame), std::sregex_iterator());
}

enum class Origin { ForbiddenPage, PastEndPage, AnyAddress, Sent };

struct CrashCase {
    const char* name;
    std::function<void(const FaultPages&)> crash;
    int signal;
    const char* signalName;
    Origin origin;
    bool debugOutput;
};

std::ostream& operator<<(std::ostream& out, const CrashCase& c) {
    return out << c.name;
}

const CrashCase kCrashes[] = {
    {"write_to_forbidden_page", writeForbidden, SIGSEGV, "SIGSEGV", Origin::ForbiddenPage, true},
    {"read_past_end_of_file", readPastEnd, SIGBUS, "SIGBUS", Origin::PastEndPage, true},
    {"abort", [](const FaultPages&) { std::abort(); }, SIGABRT, "SIGABRT", Origin::Sent, true},
    {"raise_SIGFPE", [](const FaultPages&) { std::raise(SIGFPE); }, SIGFPE, "SIGFPE", Origin::Sent, true},
    {"raise_SIGILL", [](const FaultPages&) { std::raise(SIGILL); }, SIGILL, "SIGILL", Origin::Sent, true},
    {"fault_on_another_thread",
     [](const FaultPages& pages) { std::thread([&pages] { writeForbidden(pages); }).join(); }, SIGSEGV, "SIGSEGV",
     Origin::ForbiddenPage, true},
    {"stack_overflow", [](const FaultPages&) { overflowStack(SIZE_MAX); }, SIGSEGV, "SIGSEGV", Origin::AnyAddress,
     true},
    {"quiet_abort", [](const FaultPages&) { std::abort(); }, SIGABRT, "SIGABRT", Origin::Sent, false},
};

// The crashes run with a local time zone half an hour off any whole-hour zone, so that a report
// named by UTC, or by a wrong offset, has the wrong time.
class CrashReportTest : public ::testing::TestWithParam<CrashCase> {
protected:
    void SetUp() override {
        zone_.emplace("TZ", "<+0530>-5:30");
        tzset();
    }
    // The old zone must be back before tzset reads it, or later tests keep this one.
    void TearDown() override {
        zone_.reset();
        tzset();
    }

    std::optional<ScopedEnv> zone_;
    TempDir temp_;
    FaultPages pages_;
};

TEST_P(CrashReportTest, WritesOneReportAndEndsByTheSignal) {
    const CrashCase& c = GetParam();
    ASSERT_NE(pages_.forbidden, MAP_FAILED);
    ASSERT_NE(pages_.pastEnd, MAP_FAILED);
    // Missing folders above the report folder are created too.
    const fs::path folder = temp_.path() / "data" / "reports";

    const time_t before = time(nullptr);
    const ChildEnd end = runChild([&] {
        installOrExit(folder, c.debugOutput);
        c.crash(pages_);
    });
    const time_t after = time(nullptr);

    ASSERT_TRUE(WIFSIGNALED(end.status) && WTERMSIG(end.status) == c.signal) << describe(end.status) << "\n" << end.err;
    const std::vector<fs::path> reports = filesIn(folder);
    ASSERT_EQ(reports.size(), 1u);
    const fs::path& report = reports.front();
    const time_t named = timeInName(report.filename().string());
    EXPECT_GE(named, before - 1) << report;
    EXPECT_LE(named, after + 1) << report;

    const std::string text = readFile(report);
    EXPECT_NE(text.find(std::string("program: ") + kProgram + "\nversion: " + kVersion + "\n"), std::string::npos)
        << text;
    const std::string buildId = buildIdOfThisProgram();
    ASSERT_FALSE(buildId.empty());
    EXPECT_NE(text.find("build id: " + buildId + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("signal: " + std::to_string(c.signal) + " " + c.signalName + "\n"), std::string::npos) << text;
    const std::string origin = c.origin == Origin::ForbiddenPage ? "address: " + hexAddress(pages_.forbidden) + "\n"
                               : c.origin == Origin::PastEndPage ? "address: " + hexAddress(pages_.pastEnd) + "\n"
                               : c.origin == Origin::AnyAddress  ? "address: 0x"
                                                                 : "sent by process: " + std::to_string(end.pid) + "\n";
    EXPECT_NE(text.find(origin), std::string::npos) << text;
    EXPECT_NE(text.find("process: " + std::to_string(end.pid) + "\n"), std::string::npos) << text;

    // The handler and the signal trampoline are the first two or three frames; more show that the
    // backtrace went on into the code that crashed.
    EXPECT_GE(backtraceFrames(text), 5) << text;
    EXPECT_TRUE(text.ends_with("]\nend of report\n")) << text;

    const std::string note = "-----------MiniDumper-----------\nSaved the crash report to '" + report.string() + "'\n";
    EXPECT_EQ(end.err, c.debugOutput ? note : "");
}

INSTANTIATE_TEST_SUITE_P(Crashes, CrashReportTest, ::testing::ValuesIn(kCrashes),
                         [](const auto& info) { return std::string(info.param.name); });

// Threads that crash at the same moment, each by the fault given for it.
struct SimultaneousCase {
    const char* name;
    std::vector<void (*)(const FaultPages&)> faults;
};

std::ostream& operator<<(std::ostream& out, const SimultaneousCase& c) {
    return out << c.name;
}

const SimultaneousCase kSimultaneous[] = {
    {"same_signal", {writeForbidden, writeForbidden, writeForbidden, writeForbidden}},
    {"different_signals", {writeForbidden, readPastEnd, writeForbidden, readPastEnd}},
};

class SimultaneousCrashTest : public ::testing::TestWithParam<SimultaneousCase> {
protected:
    TempDir temp_;
    FaultPages pages_;
};

// The thread that crashed first writes the whole report while the others wait, and its signal ends
// the process.
TEST_P(SimultaneousCrashTest, TheFirstCrashWritesAWholeReportAndEndsTheProcess) {
    const SimultaneousCase& c = GetParam();
    ASSERT_NE(pages_.forbidden, MAP_FAILED);
    ASSERT_NE(pages_.pastEnd, MAP_FAILED);
    const fs::path folder = temp_.path() / "reports";

    const ChildEnd end = runChild([&] {
        installOrExit(folder, true);
        std::barrier start(static_cast<std::ptrdiff_t>(c.faults.size()));
        std::vector<std::thread> threads;
        for (const auto fault : c.faults) {
            threads.emplace_back([&start, fault, this] {
                start.arrive_and_wait();
                fault(pages_);
            });
        }
        for (std::thread& thread : threads)
            thread.join();
    });

    ASSERT_TRUE(WIFSIGNALED(end.status)) << describe(end.status) << "\n" << end.err;
    const int signal = WTERMSIG(end.status);
    ASSERT_TRUE(signal == SIGSEGV || signal == SIGBUS) << describe(end.status) << "\n" << end.err;
    const std::vector<fs::path> reports = filesIn(folder);
    ASSERT_EQ(reports.size(), 1u) << end.err;
    const std::string text = readFile(reports.front());
    EXPECT_NE(text.find("\nsignal: " + std::to_string(signal) + " "), std::string::npos) << text;
    EXPECT_GE(backtraceFrames(text), 5) << text;
    EXPECT_TRUE(text.ends_with("]\nend of report\n")) << text;
    EXPECT_EQ(end.err,
              "-----------MiniDumper-----------\nSaved the crash report to '" + reports.front().string() + "'\n");
}

INSTANTIATE_TEST_SUITE_P(Crashes, SimultaneousCrashTest, ::testing::ValuesIn(kSimultaneous),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CrashReportFailure, AnUncreatableFolderIsReportedAndTheSignalStillEndsTheProcess) {
    TempDir temp;
    std::ofstream(temp.path() / "plain-file") << "not a folder";
    const fs::path folder = temp.path() / "plain-file" / "reports";

    const ChildEnd end = runChild([&] {
        installOrExit(folder, true);
        std::abort();
    });

    ASSERT_TRUE(WIFSIGNALED(end.status) && WTERMSIG(end.status) == SIGABRT) << describe(end.status) << "\n" << end.err;
    const std::string start =
        "-----------MiniDumper-----------\nFailed to create the mini-dump file '" + (folder / kProgram).string() + "_";
    EXPECT_EQ(end.err.rfind(start, 0), 0u) << end.err;
    const std::string close = ".dmp' (error " + std::to_string(ENOTDIR) + ")\n";
    EXPECT_TRUE(end.err.ends_with(close)) << end.err;
}

TEST(CrashReportFailure, ASecondInstallIsRefusedAndKeepsTheFirstFolder) {
    TempDir temp;
    const fs::path first = temp.path() / "first";
    const fs::path second = temp.path() / "second";

    const ChildEnd end = runChild([&] {
        installOrExit(first, false);
        if (MiniDumper::install(kProgram, kVersion, second.string(), false))
            _exit(2);
        std::abort();
    });

    ASSERT_TRUE(WIFSIGNALED(end.status) && WTERMSIG(end.status) == SIGABRT) << describe(end.status);
    EXPECT_EQ(filesIn(first).size(), 1u);
    EXPECT_FALSE(fs::exists(second));
}

struct FolderCase {
    const char* name;
    std::optional<std::string> dataHome;
    std::optional<std::string> home;
    std::string expected;
};

class DefaultReportFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DefaultReportFolderTest, FollowsTheDataHomeRules) {
    const FolderCase& c = GetParam();
    ScopedEnv dataHome("XDG_DATA_HOME", c.dataHome);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(MiniDumper::defaultReportFolder("TarnPlayer"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DefaultReportFolderTest,
    ::testing::Values(FolderCase{"data_home", "/srv/data", "/home/u", "/srv/data/TarnPlayer"},
                      FolderCase{"data_home_unset", std::nullopt, "/home/u", "/home/u/.local/share/TarnPlayer"},
                      FolderCase{"data_home_empty", "", "/home/u", "/home/u/.local/share/TarnPlayer"},
                      FolderCase{"data_home_relative", "data", "/home/u", "/home/u/.local/share/TarnPlayer"},
                      FolderCase{"nothing_known", std::nullopt, std::nullopt, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// gmtime_r is the judge; the times cover leap days, century years and times before 1970.
TEST(CivilTime, AgreesWithTheCLibrary) {
    std::vector<int64_t> times;
    for (int64_t t = -4'000'000'000; t < 8'000'000'000; t += 7'654'321)
        times.push_back(t);
    for (const int year : {1900, 1969, 1970, 2000, 2024, 2100, 2200}) {
        for (const int day : {28, 29}) {
            tm midnight{};
            midnight.tm_year = year - 1900;
            midnight.tm_mon = 1;
            midnight.tm_mday = day;
            const int64_t t = timegm(&midnight);
            times.insert(times.end(), {t - 1, t, t + 86399, t + 86400});
        }
    }
    for (const int64_t t : times) {
        const time_t asTime = static_cast<time_t>(t);
        tm expected{};
        ASSERT_NE(gmtime_r(&asTime, &expected), nullptr);
        const CivilTime actual = civilTime(t);
        EXPECT_EQ(actual.year, expected.tm_year + 1900) << t;
        EXPECT_EQ(actual.month, expected.tm_mon + 1) << t;
        EXPECT_EQ(actual.day, expected.tm_mday) << t;
        EXPECT_EQ(actual.hour, expected.tm_hour) << t;
        EXPECT_EQ(actual.minute, expected.tm_min) << t;
        EXPECT_EQ(actual.second, expected.tm_sec) << t;
    }
}

}  // namespace
