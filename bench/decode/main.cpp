// Decoding speed: one play instance decodes a 1920x1080 H.264 stream (about 4 Mbit/s, 25 fps) with
// pacing off, each picture handed on as soon as it is decoded; against `ffmpeg -threads 1 -f null` on
// the same stream in the same run. The best of several runs counts. Goal: at least 0.9 of ffmpeg's rate.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "KVPlay.h"
#include "rfs/FrameRecord.h"
#include "rfssim/ScenePainter.h"
#include "rfssim/VideoEncoder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFrames = 500;
constexpr int kRuns = 3;
constexpr uint64_t kStartUs = 1'764'579'600'000'000;  // 2025-12-01 09:00:00
constexpr int64_t kFrameUs = 40'000;

struct Stream {
    std::vector<std::vector<uint8_t>> records;  // frame records for the instance
    fs::path annexB;                            // the same access units for ffmpeg
};

Stream encode(const fs::path& work) {
    const rfssim::VideoSettings settings{rfssim::VideoCodecKind::H264, 1920, 1080, 25, 50, 4'000'000, 2};
    rfssim::VideoEncoder encoder(settings);
    rfssim::ScenePainter painter(settings.width, settings.height, 1, "CH 1", settings.grain);
    std::vector<rfssim::EncodedPacket> packets;
    for (int i = 0; i < kFrames; ++i)
        for (auto& p : encoder.encode(painter.paint(static_cast<int64_t>(kStartUs) + i * kFrameUs, i), i, i % 50 == 0))
            packets.push_back(std::move(p));
    for (auto& p : encoder.flush())
        packets.push_back(std::move(p));

    Stream s;
    s.annexB = work / "decode-bench.h264";
    std::ofstream out(s.annexB, std::ios::binary);
    for (std::size_t i = 0; i < packets.size(); ++i) {
        const auto& bytes = packets[i].bytes;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        rfs::KVFrameHeader h{};
        h.FrameTag = rfs::KVFrameTag;
        h.frameType = packets[i].keyFrame ? rfs::FrameI : rfs::FrameP;
        h.codec = rfs::CodecH264;
        h.frameNo = static_cast<uint32_t>(i);
        h.framesize = static_cast<uint32_t>(bytes.size());
        h.Time = h.timestamp = kStartUs + i * kFrameUs;
        h.video.width = 1920;
        h.video.height = 1080;
        h.video.frameRate = 25;
        std::vector<uint8_t> record(rfs::kFrameHeaderSize);
        std::memcpy(record.data(), &h, sizeof h);
        record.insert(record.end(), bytes.begin(), bytes.end());
        s.records.push_back(std::move(record));
    }
    return s;
}

// Frames per second of one decode-only instance with pacing off, from start to the last picture.
double instanceRate(const Stream& s) {
    void* h = KVPlayCreatePlayInstance(6);
    KVPlaySetCushionRange(h, 0, 0);
    for (const auto& r : s.records)
        KVPlayInputNetFrame(h, r.data(), static_cast<int32_t>(r.size()));
    const auto last = static_cast<int64_t>(rfs::readFrameHeader(s.records.back().data()).Time);
    const auto started = Clock::now();
    KVPlayStartPlay(h);
    while (KVPlayGetCurPlayedTime(h) != last)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    KVPlayStopPlay(h);
    KVPlayDestroyPlayInstance(h);
    return s.records.size() / seconds;
}

// Frames per second of ffmpeg's own decoding loop ("rtime" of -benchmark), on one thread.
double ffmpegRate(const Stream& s) {
    const std::string command = std::string(FFMPEG_PATH) + " -hide_banner -nostdin -benchmark -threads 1 -f h264 -i " +
                                s.annexB.string() + " -f null - 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return 0;
    std::string output;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    pclose(pipe);
    const std::size_t at = output.rfind("rtime=");
    return at == std::string::npos ? 0 : s.records.size() / std::stod(output.substr(at + 6));
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path work = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    rfssim::quietCodecLogging();
    KVPlayInitPlayLib(1, 1, nullptr);
    std::printf("encoding %d frames of 1920x1080 H.264...\n", kFrames);
    const Stream stream = encode(work);
    double ours = 0, theirs = 0;
    for (int run = 0; run < kRuns; ++run) {
        const double a = instanceRate(stream);
        const double b = ffmpegRate(stream);
        std::printf("run %d: instance %.1f fps, ffmpeg -threads 1 %.1f fps\n", run + 1, a, b);
        ours = std::max(ours, a);
        theirs = std::max(theirs, b);
    }
    const double ratio = theirs > 0 ? ours / theirs : 0;
    std::printf("best: instance %.1f fps, ffmpeg %.1f fps, ratio %.2f (goal >= 0.90): %s\n", ours, theirs, ratio,
                ratio >= 0.9 ? "met" : "NOT met");
    fs::remove(stream.annexB);
    KVPlayDeinitPlayLib();
    return 0;
}
