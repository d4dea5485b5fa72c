// Rendering: four play instances show 704x576 H.264 at 25 fps in four 640x480 windows for 60 s (run it
// under an X server, e.g. `xvfb-run -a build/bin/render_bench`). For each window it reports how late
// pictures appear (the wall-clock time a picture's played time shows up, against its place on a clock
// started with the first picture; a picture shown late moves the clock on, so this adds up over the
// run), the longest gap between two pictures, and the CPU time this process spent per window (the X
// server's own work not counted). Goals: no picture later than one frame interval (40 ms), under 10 %
// of one core per window.
#include <sys/resource.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "KVPlay.h"
#include "rfs/FrameRecord.h"
#include "rfssim/ScenePainter.h"
#include "rfssim/VideoEncoder.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWindows = 4;
constexpr int kLoopFrames = 250;  // 10 s, played six times
constexpr int kSeconds = 60;
constexpr uint64_t kStartUs = 1'764'579'600'000'000;  // 2025-12-01 09:00:00
constexpr uint64_t kFrameUs = 40'000;

using Record = std::vector<uint8_t>;

std::vector<rfssim::EncodedPacket> encodeLoop() {
    const rfssim::VideoSettings settings{rfssim::VideoCodecKind::H264, 704, 576, 25, 50, 1'500'000, 2};
    rfssim::VideoEncoder encoder(settings);
    rfssim::ScenePainter painter(settings.width, settings.height, 1, "CH 1", settings.grain);
    std::vector<rfssim::EncodedPacket> packets;
    for (int i = 0; i < kLoopFrames; ++i)
        for (auto& p : encoder.encode(painter.paint(static_cast<int64_t>(kStartUs + i * kFrameUs), i), i, i % 50 == 0))
            packets.push_back(std::move(p));
    for (auto& p : encoder.flush())
        packets.push_back(std::move(p));
    return packets;
}

Record recordOf(const rfssim::EncodedPacket& packet, uint32_t number) {
    rfs::KVFrameHeader h{};
    h.FrameTag = rfs::KVFrameTag;
    h.frameType = packet.keyFrame ? rfs::FrameI : rfs::FrameP;
    h.codec = rfs::CodecH264;
    h.frameNo = number;
    h.framesize = static_cast<uint32_t>(packet.bytes.size());
    h.Time = h.timestamp = kStartUs + number * kFrameUs;
    h.video.width = 704;
    h.video.height = 576;
    h.video.frameRate = 25;
    Record r(rfs::kFrameHeaderSize + packet.bytes.size());
    std::memcpy(r.data(), &h, sizeof h);
    std::copy(packet.bytes.begin(), packet.bytes.end(), r.begin() + rfs::kFrameHeaderSize);
    return r;
}

struct Window {
    void* player = nullptr;
    std::atomic<int64_t> worstLateUs{0};
    std::atomic<int64_t> worstGapUs{0};  // the longest time between two pictures
    std::atomic<int> pictures{0};
};

// Feeds the frames, keeping about four seconds queued.
void feed(Window& w, const std::vector<rfssim::EncodedPacket>& loop, Clock::time_point until) {
    for (uint32_t n = 0; Clock::now() < until && n < kSeconds * 25 + 50; ++n) {
        const Record r = recordOf(loop[n % loop.size()], n);
        KVPlayInputNetFrame(w.player, r.data(), static_cast<int32_t>(r.size()));
        while (KVPlayGetNetPlayBufNum(w.player) > 100) {
            if (Clock::now() >= until)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

// Watches the played time: each new picture's lateness against a clock set by the first one.
void watch(Window& w, Clock::time_point until) {
    int64_t last = 0;
    Clock::time_point origin{};
    Clock::time_point previous{};
    while (Clock::now() < until) {
        const int64_t played = KVPlayGetCurPlayedTime(w.player);
        const Clock::time_point now = Clock::now();
        if (played != 0 && played != last) {
            if (last == 0)
                origin = now - std::chrono::microseconds(played - static_cast<int64_t>(kStartUs));
            const int64_t due = std::chrono::duration_cast<std::chrono::microseconds>(
                                    origin + std::chrono::microseconds(played - static_cast<int64_t>(kStartUs)) - now)
                                    .count();
            w.worstLateUs = std::max<int64_t>(w.worstLateUs, -due);
            if (last != 0)
                w.worstGapUs = std::max<int64_t>(
                    w.worstGapUs, std::chrono::duration_cast<std::chrono::microseconds>(now - previous).count());
            previous = now;
            ++w.pictures;
            last = played;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main() {
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "render_bench needs an X display (run it under xvfb-run -a)\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    KVPlayInitPlayLib(1, 1, nullptr);
    rfssim::quietCodecLogging();
    std::printf("encoding %d frames of 704x576 H.264...\n", kLoopFrames);
    const std::vector<rfssim::EncodedPacket> loop = encodeLoop();

    Window windows[kWindows];
    for (int i = 0; i < kWindows; ++i) {
        const xcb_window_t id = xcb_generate_id(x);
        xcb_create_window(x, XCB_COPY_FROM_PARENT, id, screen->root, static_cast<int16_t>((i % 2) * 640),
                          static_cast<int16_t>((i / 2) * 480), 640, 480, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, 0, nullptr);
        xcb_map_window(x, id);
        xcb_flush(x);
        windows[i].player = KVPlayCreatePlayInstance(1);
        KVPlayPlayOptions options{};
        options.renderer = 1;
        KVPlaySetPlayWndEx(windows[i].player, id, &options);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    const double cpuBefore = cpuSeconds();
    const Clock::time_point start = Clock::now();
    const Clock::time_point until = start + std::chrono::seconds(kSeconds);
    std::vector<std::thread> threads;
    for (Window& w : windows) {
        KVPlayStartPlay(w.player);
        threads.emplace_back(feed, std::ref(w), std::cref(loop), until);
        threads.emplace_back(watch, std::ref(w), until);
    }
    for (std::thread& t : threads)
        t.join();
    const double cpu = cpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();

    bool met = true;
    for (int i = 0; i < kWindows; ++i) {
        const double lateMs = windows[i].worstLateUs / 1000.0;
        std::printf("window %d: %d pictures, latest %.1f ms late, longest gap between pictures %.1f ms\n", i + 1,
                    windows[i].pictures.load(), lateMs, windows[i].worstGapUs / 1000.0);
        met = met && lateMs <= 40.0;
        KVPlayStopPlay(windows[i].player);
        KVPlayDestroyPlayInstance(windows[i].player);
    }
    const double perWindow = 100.0 * cpu / wall / kWindows;
    std::printf("CPU: %.1f %% of one core per window (goal < 10 %%); lateness goal <= 40 ms: %s\n", perWindow,
                met ? "met" : "NOT met");
    KVPlayDeinitPlayLib();
    xcb_disconnect(x);
    return 0;
}
