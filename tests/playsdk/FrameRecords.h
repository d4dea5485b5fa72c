// Frame records built from real encoded streams, the way a recorder stores them.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "rfs/FrameRecord.h"
#include "rfssim/VideoEncoder.h"

constexpr uint64_t kStartUs = 1'709'633'000'000'000;  // 2024-03-05 10:03:20
constexpr int64_t kFrameUs = 40'000;

inline std::vector<uint8_t> makeRecord(rfs::KVFrameHeader header, std::span<const uint8_t> payload) {
    header.FrameTag = rfs::KVFrameTag;
    header.framesize = static_cast<uint32_t>(payload.size());
    std::vector<uint8_t> record(rfs::kFrameHeaderSize);
    std::memcpy(record.data(), &header, sizeof header);
    record.insert(record.end(), payload.begin(), payload.end());
    return record;
}

inline std::vector<uint8_t> videoRecord(uint8_t codec, bool key, uint32_t frameNo, uint64_t timeUs, int width,
                                        int height, std::span<const uint8_t> payload) {
    rfs::KVFrameHeader header{};
    header.frameType = key ? rfs::FrameI : rfs::FrameP;
    header.codec = codec;
    header.frameNo = frameNo;
    header.Time = timeUs;
    header.timestamp = timeUs;
    header.video.width = static_cast<uint16_t>(width);
    header.video.height = static_cast<uint16_t>(height);
    header.video.frameRate = 25;
    header.video.standard = 'P';
    return makeRecord(header, payload);
}

inline std::vector<uint8_t> audioRecord(uint8_t codec, uint32_t frameNo, uint64_t timeUs, uint32_t sampleRate,
                                        std::span<const uint8_t> payload) {
    rfs::KVFrameHeader header{};
    header.frameType = rfs::FrameAudio;
    header.codec = codec;
    header.frameNo = frameNo;
    header.Time = timeUs;
    header.timestamp = timeUs;
    header.audio.sampleRate = sampleRate;
    header.audio.channels = 1;
    header.audio.bitsPerSample = 16;
    header.audio.blockSize = static_cast<uint16_t>(payload.size());
    return makeRecord(header, payload);
}

// Encoded pictures of the simulator's scene, Annex B with parameter sets before each key frame.
inline std::vector<rfssim::EncodedPacket> encodeVideo(rfssim::VideoCodecKind codec, int frames, int gop) {
    rfssim::VideoSettings settings{codec, 160, 96, 25, gop, 200'000};
    rfssim::VideoEncoder encoder(settings);
    rfssim::ScenePainter painter(settings.width, settings.height, 1, "CH 1");
    std::vector<rfssim::EncodedPacket> packets;
    for (int i = 0; i < frames; ++i) {
        const auto& picture = painter.paint(static_cast<int64_t>(kStartUs) + i * kFrameUs, i);
        for (auto& packet : encoder.encode(picture, i, i % gop == 0))
            packets.push_back(std::move(packet));
    }
    for (auto& packet : encoder.flush())
        packets.push_back(std::move(packet));
    return packets;
}

// The payload with every 3-byte start code widened to 4 bytes, the form our reader gives back.
inline std::vector<uint8_t> withFourByteStartCodes(std::span<const uint8_t> payload) {
    std::vector<uint8_t> out;
    for (std::size_t i = 0; i < payload.size(); ++i) {
        const bool startCode = i + 3 <= payload.size() && payload[i] == 0 && payload[i + 1] == 0 && payload[i + 2] == 1;
        if (startCode && (i == 0 || payload[i - 1] != 0))
            out.push_back(0);
        out.push_back(payload[i]);
    }
    return out;
}
