// Export speed: ten minutes of one 1920x1080 H.264 channel (about 4 Mbit/s) exported from a folder store
// with `tarn export`, against ffmpeg remuxing the same elementary stream into MP4 (`-c copy`). Both run
// from a warm page cache; the best of several runs counts. Goal: our export at least 1.5 times as fast,
// with a peak resident set under 64 MiB.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "ChildProcess.h"
#include "rfssim/StoreWriter.h"
#include "rfssim/VideoEncoder.h"

namespace {

using exportbench::ChildRun;
using exportbench::runChild;
namespace fs = std::filesystem;

constexpr int kRuns = 5;
constexpr double kMediaSeconds = 600;
const char* const kFrom = "2026-12-01 09:00:00";
const char* const kTo = "2026-12-01 09:09:59";

rfssim::Scenario tenMinutesOf1080p() {
    rfssim::Scenario s;
    s.layout = rfssim::StoreLayout::Directory;
    s.channels = 1;
    // Grain makes every picture cost bits, as a real camera's noise does; without it the scene compresses
    // far below the bit rate asked for.
    s.video = rfssim::VideoSettings{rfssim::VideoCodecKind::H264, 1920, 1080, 25, 50, 4'000'000, 2};
    rfssim::Recording r;
    r.channel = 1;
    r.from = rfs::CalendarTime{2026, 12, 1, 9, 0, 0};
    r.to = rfs::CalendarTime{2026, 12, 1, 9, 10, 0};
    s.recordings = {r};
    return s;
}

// In a child process: a process's peak memory survives exec into the programs it starts, so the bench
// itself must stay small for their peaks to be their own.
bool writeStoreInChild(const fs::path& store) {
    const pid_t pid = fork();
    if (pid == 0) {
        rfssim::quietCodecLogging();
        rfssim::writeStore(tenMinutesOf1080p(), store);
        _exit(0);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The store is written once and kept: encoding ten minutes of 1080p takes a while.
fs::path storeIn(const fs::path& work) {
    const fs::path store = work / "store";
    const fs::path done = work / "store-with-grain.complete";
    if (!fs::exists(done)) {
        std::printf("writing the store (ten minutes of 1080p H.264) into %s ...\n", store.c_str());
        std::fflush(stdout);
        fs::remove_all(store);
        if (!writeStoreInChild(store))
            return {};
        std::FILE* mark = std::fopen(done.c_str(), "w");
        if (mark != nullptr)
            std::fclose(mark);
    }
    return store;
}

ChildRun best(const std::vector<std::string>& argv) {
    runChild(argv);  // warms the page cache
    ChildRun fastest;
    for (int i = 0; i < kRuns; ++i) {
        const ChildRun run = runChild(argv);
        if (run.exitStatus != 0)
            return run;
        if (i == 0 || run.seconds < fastest.seconds)
            fastest.seconds = run.seconds, fastest.exitStatus = 0;
        fastest.peakMiB = std::max(fastest.peakMiB, run.peakMiB);
    }
    return fastest;
}

void report(const char* what, const ChildRun& run, double megabytes) {
    std::printf("%-34s %8.3f s  %8.1f MB/s  %7.0fx real time  peak %6.1f MiB\n", what, run.seconds,
                megabytes / run.seconds, kMediaSeconds / run.seconds, run.peakMiB);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path work = argc > 1 ? fs::path(argv[1]) : fs::path(EXPORT_BENCH_DEFAULT_WORK);
    fs::create_directories(work);
    const fs::path store = storeIn(work);
    if (store.empty()) {
        std::fprintf(stderr, "the store could not be written into %s\n", work.c_str());
        return 1;
    }
    const fs::path ours = work / "export.mp4";
    const fs::path stream = work / "channel1.h264";
    const fs::path remuxed = work / "remux.mp4";

    const std::vector<std::string> exportCommand = {TARN_PATH, "export", store,   "--channel",  "1", "--from",
                                                    kFrom,     "--to",   kTo,     "--overwrite", "-o", ours};
    if (runChild(exportCommand).exitStatus != 0) {
        std::fprintf(stderr, "tarn export failed on %s\n", store.c_str());
        return 1;
    }
    // The elementary stream that ffmpeg remuxes: the same pictures, taken out of our file once.
    if (runChild({FFMPEG_PATH, "-y", "-i", ours, "-map", "0:v", "-c", "copy", "-bsf:v", "h264_mp4toannexb", "-f",
                  "h264", stream})
            .exitStatus != 0) {
        std::fprintf(stderr, "ffmpeg could not take the elementary stream out of %s\n", ours.c_str());
        return 1;
    }

    const ChildRun exported = best(exportCommand);
    const ChildRun remux = best({FFMPEG_PATH, "-y", "-f", "h264", "-i", stream, "-c", "copy", remuxed});
    if (exported.exitStatus != 0 || remux.exitStatus != 0) {
        std::fprintf(stderr, "a timed run failed\n");
        return 1;
    }
    const double megabytes = static_cast<double>(fs::file_size(stream)) / 1e6;
    std::printf("10 minutes of 1920x1080 H.264, %.1f MB of video (%.2f Mbit/s), best of %d warm runs\n", megabytes,
                megabytes * 8 / kMediaSeconds, kRuns);
    report("tarn export (store -> MP4)", exported, megabytes);
    report("ffmpeg -f h264 -i ES -c copy", remux, megabytes);
    const double ratio = remux.seconds / exported.seconds;
    std::printf("speed ratio %.2f (goal >= 1.5): %s; peak memory %.1f MiB (goal < 64): %s\n", ratio,
                ratio >= 1.5 ? "met" : "NOT met", exported.peakMiB, exported.peakMiB < 64 ? "met" : "NOT met");
    return 0;
}
