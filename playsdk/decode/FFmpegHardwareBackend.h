// FFmpeg hardware decoding through the first device type that opens: VAAPI, then CUDA, then VDPAU.
#pragma once

#include "HardwareBackend.h"

struct AVBufferRef;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace kvplay {

class FFmpegHardwareBackend final : public HardwareBackend {
public:
    FFmpegHardwareBackend();
    ~FFmpegHardwareBackend() override;

    bool open(PictureCodec codec) override;
    int32_t decode(std::span<const uint8_t> accessUnit, uint64_t timestamp, DecodeOutput& out) override;
    int32_t deviceType() const override { return deviceType_; }

private:
    void release();

    AVBufferRef* device_ = nullptr;
    AVCodecContext* context_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVFrame* transfer_ = nullptr;
    AVPacket* packet_ = nullptr;
    int32_t deviceType_ = 0;
    int32_t hardwareFormat_ = -1;
};

}  // namespace kvplay
