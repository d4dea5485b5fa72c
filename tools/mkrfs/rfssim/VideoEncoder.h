// Real H.264/H.265 through libavcodec, configured the way a camera streams: no B frames, no
// reordering, Annex-B with the parameter sets before every key frame, key frames only where asked.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "rfssim/Scenario.h"
#include "rfssim/ScenePainter.h"

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace rfssim {

struct EncodedPacket {
    int64_t pts = 0;
    bool keyFrame = false;
    std::vector<uint8_t> bytes;
};

// Keeps libavcodec and the encoders to errors only; they are chatty at their default level.
void quietCodecLogging();

class VideoEncoder {
public:
    // Single-threaded on purpose: the output must not depend on the machine's core count.
    explicit VideoEncoder(const VideoSettings& settings);

    // Returns the packets the encoder has finished so far.
    std::vector<EncodedPacket> encode(const Picture& picture, int64_t pts, bool keyFrame);
    std::vector<EncodedPacket> flush();

private:
    std::vector<EncodedPacket> receivePackets();

    struct AvDeleter {
        void operator()(AVCodecContext* context) const;
        void operator()(AVFrame* frame) const;
        void operator()(AVPacket* packet) const;
    };

    std::unique_ptr<AVCodecContext, AvDeleter> context_;
    std::unique_ptr<AVFrame, AvDeleter> frame_;
    std::unique_ptr<AVPacket, AvDeleter> packet_;
};

}  // namespace rfssim
