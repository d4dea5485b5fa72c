#include "rfssim/ChunkEncoder.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "rfssim/AlawTone.h"
#include "rfssim/ScenePainter.h"
#include "rfssim/SimError.h"
#include "rfssim/VideoEncoder.h"

namespace rfssim {
namespace {

std::vector<EncodedPacket> encodePictures(const PlannedEvent& event, const ChunkJob& job) {
    const VideoSettings& video = event.video;
    ScenePainter painter(video.width, video.height, event.userChannel, channelCaption(event.userChannel, event.stream),
                         video.grain);
    VideoEncoder encoder(video);
    std::vector<EncodedPacket> packets;
    auto keep = [&packets](std::vector<EncodedPacket>&& more) {
        std::move(more.begin(), more.end(), std::back_inserter(packets));
    };
    for (uint32_t i = 0; i < job.frameCount; ++i) {
        const uint32_t frame = job.firstFrame + i;
        const int64_t timeUs = event.frameTimeUs(frame);
        const Picture& picture = painter.paint(timeUs, timeUs * video.fps / 1'000'000);
        keep(encoder.encode(picture, i, frame % video.gop == 0));
    }
    keep(encoder.flush());
    if (packets.size() != job.frameCount)
        throw SimError("the video encoder returned " + std::to_string(packets.size()) + " packets for " +
                       std::to_string(job.frameCount) + " pictures");
    return packets;
}

std::vector<SimFrame> videoFrames(const PlannedEvent& event, const ChunkJob& job,
                                  std::vector<EncodedPacket>&& packets) {
    const auto gop = static_cast<uint32_t>(event.video.gop);
    const auto every = static_cast<uint32_t>(event.virtualKeyFrameEvery);
    std::vector<SimFrame> frames;
    for (uint32_t i = 0; i < packets.size(); ++i) {
        const uint32_t inGop = (job.firstFrame + i) % gop;
        if (packets[i].pts != i || packets[i].keyFrame != (inGop == 0))
            throw SimError("the video encoder did not keep the requested frame order and key frames");
        SimFrame frame;
        frame.timeUs = event.frameTimeUs(job.firstFrame + i);
        frame.payload = std::move(packets[i].bytes);
        if (inGop == 0) {
            frame.type = rfs::FrameI;
        } else if (every > 0 && inGop % every == 0) {
            frame.type = rfs::FrameVirtual;
            frame.keyFrameDistance = static_cast<uint16_t>(inGop);
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

// The audio blocks captured while the chunk's pictures were.
std::vector<SimFrame> audioFrames(const PlannedEvent& event, const ChunkJob& job) {
    const int64_t base = event.startSecond * 1'000'000;
    const int64_t from = event.frameTimeUs(job.firstFrame) - base;
    const int64_t to = event.frameTimeUs(job.firstFrame + job.frameCount) - base;
    std::vector<SimFrame> frames;
    for (int64_t block = (from + kAudioBlockUs - 1) / kAudioBlockUs; block * kAudioBlockUs < to; ++block) {
        SimFrame frame;
        frame.type = rfs::FrameAudio;
        frame.timeUs = base + block * kAudioBlockUs;
        frame.payload = alawToneBlock(event.userChannel, sampleNumberAt(frame.timeUs));
        frames.push_back(std::move(frame));
    }
    return frames;
}

}  // namespace

EncodedChunk encodeChunk(const PlannedEvent& event, const ChunkJob& job) {
    std::vector<SimFrame> video = videoFrames(event, job, encodePictures(event, job));
    std::vector<SimFrame> audio = event.audio ? audioFrames(event, job) : std::vector<SimFrame>{};

    // Capture order; a picture goes before audio captured at the same instant.
    std::vector<SimFrame> merged;
    merged.reserve(video.size() + audio.size());
    std::merge(std::make_move_iterator(video.begin()), std::make_move_iterator(video.end()),
               std::make_move_iterator(audio.begin()), std::make_move_iterator(audio.end()), std::back_inserter(merged),
               [](const SimFrame& a, const SimFrame& b) { return a.timeUs < b.timeUs; });

    EncodedChunk chunk;
    for (SimFrame& frame : merged) {
        if (frame.type == rfs::FrameI)
            chunk.groups.emplace_back();
        chunk.groups.back().push_back(std::move(frame));
    }
    return chunk;
}

}  // namespace rfssim
