// Turns G.726 voice frames into G.711 A-law, which MP4 players know, through FFmpeg's G.726
// decoder and A-law encoder. One decoder per bit rate keeps each stream's ADPCM state across frames.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace kvplay::record {

class G726Transcoder {
public:
    G726Transcoder();
    ~G726Transcoder();
    G726Transcoder(const G726Transcoder&) = delete;
    G726Transcoder& operator=(const G726Transcoder&) = delete;

    // The A-law bytes of a payload cut into blocks of blockSize bytes (each may start with a voice
    // header); nullopt when the codec is not G.726 or decoding fails.
    std::optional<std::vector<uint8_t>> toAlaw(uint8_t codec, std::span<const uint8_t> payload, uint16_t blockSize);

    struct AvDeleter {
        void operator()(AVCodecContext* context) const;
        void operator()(AVFrame* frame) const;
        void operator()(AVPacket* packet) const;
    };

private:
    AVCodecContext* decoderFor(int bitsPerSample);
    AVCodecContext* encoder();
    bool decodeBlock(AVCodecContext* decoder, std::span<const uint8_t> block, std::vector<uint8_t>& alaw);
    bool encodeFrame(std::vector<uint8_t>& alaw);

    std::array<std::unique_ptr<AVCodecContext, AvDeleter>, 4> decoders_;  // 2 to 5 bits per sample
    std::unique_ptr<AVCodecContext, AvDeleter> encoder_;
    std::unique_ptr<AVFrame, AvDeleter> frame_;
    std::unique_ptr<AVPacket, AvDeleter> packet_;
};

}  // namespace kvplay::record
