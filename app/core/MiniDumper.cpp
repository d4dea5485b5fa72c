#include "MiniDumper.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "BuildId.h"
#include "CivilTime.h"

// The handler runs in a process whose heap, stdio and locks may be broken, so it only uses calls that
// are safe in a signal handler (open, write, close, mkdir, clock_gettime, signal, raise, pause, the
// gettid system call, lock-free atomics) on buffers prepared by install. backtrace() is not on that
// list; it is commonly accepted once libgcc's unwinder has been loaded, which install does by calling
// it once.
namespace {

struct Handled {
    int number;
    const char* name;
};
constexpr Handled kHandled[] = {
    {SIGSEGV, "SIGSEGV"}, {SIGBUS, "SIGBUS"}, {SIGFPE, "SIGFPE"}, {SIGILL, "SIGILL"}, {SIGABRT, "SIGABRT"},
};

constexpr std::size_t kPathCapacity = 4096;
constexpr std::size_t kMaxFrames = 64;
// The handler, backtrace and the dynamic loader it may call share this stack.
constexpr std::size_t kAltStackSize = 256 * 1024;

// What install prepares for the handler.
struct Prepared {
    char folder[kPathCapacity];
    char pathStart[kPathCapacity];  // "<folder>/<programName>_"
    char header[2048];              // program, version and build id lines
    long utcOffset;                 // seconds east of UTC at install; a later change of daylight time is not seen
    bool debugOutput;
};

Prepared prepared;
bool installed = false;
alignas(16) char altStack[kAltStackSize];
// The thread writing the report, 0 before any crash.
std::atomic<pid_t> crashingThread{0};
static_assert(std::atomic<pid_t>::is_always_lock_free);

// Text in a fixed buffer, cut short when full; always terminated.
template <std::size_t Capacity>
class FixedText {
public:
    FixedText& add(std::string_view text) {
        for (const char c : text) {
            if (size_ + 1 < Capacity)
                data_[size_++] = c;
            else
                cut_ = true;
        }
        data_[size_] = '\0';
        return *this;
    }
    FixedText& addNumber(unsigned long long value, int minDigits = 1) {
        char digits[24];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0 || count < minDigits);
        while (count > 0)
            add(std::string_view(&digits[--count], 1));
        return *this;
    }
    FixedText& addSigned(long long value) {
        if (value < 0)
            add("-");
        return addNumber(value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value);
    }
    FixedText& addHex(std::uintptr_t value) {
        add("0x");
        for (int shift = static_cast<int>(sizeof value * 8) - 4; shift >= 0; shift -= 4)
            add(std::string_view(&"0123456789abcdef"[(value >> shift) & 0xf], 1));
        return *this;
    }
    // True when everything added fitted.
    bool complete() const { return !cut_; }
    const char* text() const { return data_; }
    std::size_t size() const { return size_; }

private:
    char data_[Capacity] = {};
    std::size_t size_ = 0;
    bool cut_ = false;
};

void writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

template <std::size_t Capacity>
void writeAll(int fd, const FixedText<Capacity>& text) {
    writeAll(fd, text.text(), text.size());
}

// Creates the report folder and every missing folder above it.
void makeFolders() {
    char path[kPathCapacity];
    std::memcpy(path, prepared.folder, sizeof path);
    for (char* slash = std::strchr(path + 1, '/'); slash != nullptr; slash = std::strchr(slash + 1, '/')) {
        *slash = '\0';
        mkdir(path, 0755);
        *slash = '/';
    }
    mkdir(path, 0755);
}

FixedText<kPathCapacity + 32> reportPath() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const CivilTime local = civilTime(static_cast<int64_t>(now.tv_sec) + prepared.utcOffset);
    FixedText<kPathCapacity + 32> path;
    path.add(prepared.pathStart).addNumber(local.year, 4);
    for (const int part : {local.month, local.day, local.hour, local.minute, local.second})
        path.add("_").addNumber(part, 2);
    path.add(".dmp");
    return path;
}

const char* signalName(int number) {
    for (const Handled& handled : kHandled) {
        if (handled.number == number)
            return handled.name;
    }
    return "?";
}

void writeReport(int fd, int number, const siginfo_t* info) {
    writeAll(fd, prepared.header, std::strlen(prepared.header));
    FixedText<512> facts;
    facts.add("signal: ").addNumber(number).add(" ").add(signalName(number)).add("\n");
    // A fault carries the address it happened at; a signal sent by kill, raise or abort its sender.
    if (info->si_code > 0)
        facts.add("address: ").addHex(reinterpret_cast<std::uintptr_t>(info->si_addr)).add("\n");
    else
        facts.add("sent by process: ").addSigned(info->si_pid).add("\n");
    facts.add("process: ").addSigned(getpid()).add("\n").add("backtrace:\n");
    writeAll(fd, facts);

    void* frames[kMaxFrames];
    const int count = backtrace(frames, kMaxFrames);
    backtrace_symbols_fd(frames, count, fd);
    // Tells a complete report from one cut short.
    constexpr std::string_view end = "end of report\n";
    writeAll(fd, end.data(), end.size());
}

void tellStderr(std::string_view message) {
    if (!prepared.debugOutput)
        return;
    FixedText<kPathCapacity + 256> note;
    note.add("-----------MiniDumper-----------\n").add(message).add("\n");
    writeAll(STDERR_FILENO, note);
}

// Ends the process by the same signal with its default action. The signal stays blocked until the
// handler returns, so it arrives then; a fault that was not raised would recur at the same place.
void reraise(int number) {
    signal(number, SIG_DFL);
    raise(number);
}

void onCrash(int number, siginfo_t* info, void*) {
    const auto self = static_cast<pid_t>(syscall(SYS_gettid));
    pid_t first = 0;
    if (!crashingThread.compare_exchange_strong(first, self)) {
        // A crash inside the handler ends the process at once.
        if (first == self) {
            reraise(number);
            return;
        }
        // Another thread is writing the report and ends the process when done; this one must neither
        // end it earlier nor go on running.
        for (;;)
            pause();
    }
    const auto path = reportPath();
    makeFolders();
    const int fd = open(path.text(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int error = errno;
        FixedText<kPathCapacity + 128> message;
        message.add("Failed to create the mini-dump file '")
            .add(path.text())
            .add("' (error ")
            .addNumber(error)
            .add(")");
        tellStderr(message.text());
    } else {
        writeReport(fd, number, info);
        close(fd);
        FixedText<kPathCapacity + 128> message;
        message.add("Saved the crash report to '").add(path.text()).add("'");
        tellStderr(message.text());
    }
    reraise(number);
}

// Copies text into a prepared buffer; false when it does not fit.
template <std::size_t Capacity>
bool prepare(char (&buffer)[Capacity], const FixedText<Capacity>& text) {
    if (!text.complete())
        return false;
    std::memcpy(buffer, text.text(), text.size() + 1);
    return true;
}

}  // namespace

bool MiniDumper::install(const std::string& programName, const std::string& version, const std::string& reportFolder,
                         bool debugOutput) {
    if (installed || reportFolder.empty())
        return false;
    std::string_view folder = reportFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.remove_suffix(1);

    FixedText<sizeof prepared.folder> folderText;
    folderText.add(folder);
    FixedText<sizeof prepared.pathStart> pathStart;
    pathStart.add(folder).add(folder == "/" ? "" : "/").add(programName).add("_");
    FixedText<sizeof prepared.header> header;
    header.add("program: ").add(programName).add("\nversion: ").add(version).add("\nbuild id: ");
    header.add(programBuildId()).add("\n");
    if (!prepare(prepared.folder, folderText) || !prepare(prepared.pathStart, pathStart) ||
        !prepare(prepared.header, header))
        return false;

    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    prepared.utcOffset = local.tm_gmtoff;
    prepared.debugOutput = debugOutput;

    void* frame = nullptr;
    backtrace(&frame, 1);

    // The alternate stack lets a stack overflow be reported. It belongs to this thread only: threads
    // started later still get the handler, but it runs on their own stack, so their overflows end the
    // process without a report.
    stack_t stack{};
    stack.ss_sp = altStack;
    stack.ss_size = sizeof altStack;
    if (sigaltstack(&stack, nullptr) != 0)
        return false;

    struct sigaction action {};
    action.sa_sigaction = onCrash;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    // While a report is written, a handled signal sent to the process goes to another thread, which
    // waits, instead of cutting the report short. A fault in the handler still ends the process.
    sigemptyset(&action.sa_mask);
    for (const Handled& handled : kHandled)
        sigaddset(&action.sa_mask, handled.number);
    for (const Handled& handled : kHandled) {
        if (sigaction(handled.number, &action, nullptr) != 0)
            return false;
    }
    installed = true;
    return true;
}

std::string MiniDumper::defaultReportFolder(const std::string& programName) {
    const char* const dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return std::string(dataHome) + "/" + programName;
    const char* const home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return std::string(home) + "/.local/share/" + programName;
    return {};
}
