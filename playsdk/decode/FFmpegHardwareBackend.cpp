#include "FFmpegHardwareBackend.h"

#include <climits>
#include <cstdio>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/hwcontext.h>
}

namespace kvplay {
namespace {

constexpr AVHWDeviceType kDeviceOrder[] = {AV_HWDEVICE_TYPE_VAAPI, AV_HWDEVICE_TYPE_CUDA, AV_HWDEVICE_TYPE_VDPAU};

std::mutex factoryLock;
HardwareBackendFactory installed;

AVCodecID codecId(PictureCodec codec) {
    return codec == PictureCodec::H264   ? AV_CODEC_ID_H264
           : codec == PictureCodec::H265 ? AV_CODEC_ID_HEVC
                                         : AV_CODEC_ID_NONE;
}

// The pixel format in which the decoder hands out pictures on this device type, or none.
AVPixelFormat hardwareFormat(const AVCodec* codec, AVHWDeviceType type) {
    for (int i = 0;; ++i) {
        const AVCodecHWConfig* config = avcodec_get_hw_config(codec, i);
        if (!config)
            return AV_PIX_FMT_NONE;
        if ((config->methods & AV_CODEC_HW_CONFIG_METHOD_HW_DEVICE_CTX) && config->device_type == type)
            return config->pix_fmt;
    }
}

AVPixelFormat selectFormat(AVCodecContext* context, const AVPixelFormat* offered) {
    const auto wanted = static_cast<AVPixelFormat>(reinterpret_cast<intptr_t>(context->opaque));
    for (const AVPixelFormat* f = offered; *f != AV_PIX_FMT_NONE; ++f)
        if (*f == wanted)
            return *f;
    std::fputs("Failed to get HW surface format.\n", stderr);
    return AV_PIX_FMT_NONE;
}

}  // namespace

std::unique_ptr<HardwareBackend> createHardwareBackend() {
    std::lock_guard guard(factoryLock);
    return installed ? installed() : std::make_unique<FFmpegHardwareBackend>();
}

void setHardwareBackendFactory(HardwareBackendFactory factory) {
    std::lock_guard guard(factoryLock);
    installed = std::move(factory);
}

bool probeHardwareDevice() {
    for (const AVHWDeviceType type : kDeviceOrder) {
        AVBufferRef* device = nullptr;
        if (av_hwdevice_ctx_create(&device, type, nullptr, nullptr, 0) == 0) {
            av_buffer_unref(&device);
            return true;
        }
    }
    return false;
}

FFmpegHardwareBackend::FFmpegHardwareBackend() = default;

FFmpegHardwareBackend::~FFmpegHardwareBackend() {
    release();
}

void FFmpegHardwareBackend::release() {
    av_frame_free(&frame_);
    av_frame_free(&transfer_);
    av_packet_free(&packet_);
    avcodec_free_context(&context_);
    av_buffer_unref(&device_);
    hardwareFormat_ = -1;
}

bool FFmpegHardwareBackend::open(PictureCodec codec) {
    release();
    const AVCodec* decoder = avcodec_find_decoder(codecId(codec));
    if (!decoder)
        return false;
    for (const AVHWDeviceType type : kDeviceOrder) {
        const AVPixelFormat format = hardwareFormat(decoder, type);
        if (format == AV_PIX_FMT_NONE || av_hwdevice_ctx_create(&device_, type, nullptr, nullptr, 0) != 0)
            continue;
        deviceType_ = type;
        hardwareFormat_ = format;
        break;
    }
    if (!device_) {
        std::fputs("Failed to create specified HW device.\n", stderr);
        return false;
    }
    context_ = avcodec_alloc_context3(decoder);
    frame_ = av_frame_alloc();
    transfer_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!context_ || !frame_ || !transfer_ || !packet_) {
        release();
        return false;
    }
    context_->opaque = reinterpret_cast<void*>(static_cast<intptr_t>(hardwareFormat_));
    context_->get_format = selectFormat;
    context_->flags |= AV_CODEC_FLAG_LOW_DELAY;
    context_->hw_device_ctx = av_buffer_ref(device_);
    if (!context_->hw_device_ctx || avcodec_open2(context_, decoder, nullptr) < 0) {
        release();
        return false;
    }
    return true;
}

int32_t FFmpegHardwareBackend::decode(std::span<const uint8_t> accessUnit, uint64_t timestamp, DecodeOutput& out) {
    if (!context_ || accessUnit.size() > INT_MAX)
        return DecodeError;
    packet_->data = const_cast<uint8_t*>(accessUnit.data());
    packet_->size = static_cast<int>(accessUnit.size());
    packet_->pts = static_cast<int64_t>(timestamp);
    const int sent = avcodec_send_packet(context_, packet_);
    packet_->data = nullptr;
    packet_->size = 0;
    if (sent < 0)
        return DecodeError;
    const int received = avcodec_receive_frame(context_, frame_);
    if (received == AVERROR(EAGAIN))
        return DecodeNeedMore;
    if (received < 0)
        return DecodeError;
    const AVFrame* picture = frame_;
    if (frame_->format == hardwareFormat_) {
        av_frame_unref(transfer_);
        if (av_hwframe_transfer_data(transfer_, frame_, 0) < 0)
            return DecodeError;
        picture = transfer_;
    }
    // Copied back as NV12 (interleaved chroma) by every device here; planar 4:2:0 as it comes.
    const bool interleaved = picture->format == AV_PIX_FMT_NV12;
    if (!interleaved && picture->format != AV_PIX_FMT_YUV420P)
        return DecodeError;
    out = DecodeOutput{picture->data[0],     picture->data[1], interleaved ? nullptr : picture->data[2],
                       picture->width,       picture->height,  picture->linesize[0],
                       picture->linesize[1], nullptr};
    return DecodePicture;
}

}  // namespace kvplay
