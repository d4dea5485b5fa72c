#include "G726Transcoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
}

#include "RecordCodecs.h"
#include "VoiceHeader.h"

namespace kvplay::record {

namespace {
constexpr int kVoiceRate = 8000;
}

void G726Transcoder::AvDeleter::operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
void G726Transcoder::AvDeleter::operator()(AVFrame* frame) const { av_frame_free(&frame); }
void G726Transcoder::AvDeleter::operator()(AVPacket* packet) const { av_packet_free(&packet); }

G726Transcoder::G726Transcoder() : frame_(av_frame_alloc()), packet_(av_packet_alloc()) {}
G726Transcoder::~G726Transcoder() = default;

// A mono 8 kHz codec context, set up by `configure` before it opens; null when it cannot be had.
template <typename Configure>
std::unique_ptr<AVCodecContext, G726Transcoder::AvDeleter> openVoiceCodec(const AVCodec* codec, Configure configure) {
    if (codec == nullptr)
        return nullptr;
    std::unique_ptr<AVCodecContext, G726Transcoder::AvDeleter> context(avcodec_alloc_context3(codec));
    if (!context)
        return nullptr;
    context->sample_rate = kVoiceRate;
    av_channel_layout_default(&context->ch_layout, 1);
    configure(context.get());
    if (avcodec_open2(context.get(), codec, nullptr) < 0)
        return nullptr;
    return context;
}

AVCodecContext* G726Transcoder::encoder() {
    if (!encoder_)
        encoder_ = openVoiceCodec(avcodec_find_encoder(AV_CODEC_ID_PCM_ALAW), [](AVCodecContext* context) {
            context->sample_fmt = AV_SAMPLE_FMT_S16;
        });
    return encoder_.get();
}

// Encodes the decoded frame in frame_ and appends the A-law bytes.
bool G726Transcoder::encodeFrame(std::vector<uint8_t>& alaw) {
    AVCodecContext* context = encoder();
    if (context == nullptr || avcodec_send_frame(context, frame_.get()) < 0)
        return false;
    while (avcodec_receive_packet(context, packet_.get()) == 0) {
        alaw.insert(alaw.end(), packet_->data, packet_->data + packet_->size);
        av_packet_unref(packet_.get());
    }
    return true;
}

AVCodecContext* G726Transcoder::decoderFor(int bitsPerSample) {
    auto& decoder = decoders_[bitsPerSample - 2];
    if (!decoder)
        decoder = openVoiceCodec(avcodec_find_decoder(AV_CODEC_ID_ADPCM_G726), [&](AVCodecContext* context) {
            context->bits_per_coded_sample = bitsPerSample;
        });
    return decoder.get();
}

bool G726Transcoder::decodeBlock(AVCodecContext* decoder, std::span<const uint8_t> block, std::vector<uint8_t>& alaw) {
    if (block.empty())
        return true;
    if (av_new_packet(packet_.get(), static_cast<int>(block.size())) < 0)
        return false;
    std::copy(block.begin(), block.end(), packet_->data);
    const int sent = avcodec_send_packet(decoder, packet_.get());
    av_packet_unref(packet_.get());
    if (sent < 0)
        return false;
    while (avcodec_receive_frame(decoder, frame_.get()) == 0) {
        const bool encoded = frame_->format == AV_SAMPLE_FMT_S16 && encodeFrame(alaw);
        av_frame_unref(frame_.get());
        if (!encoded)
            return false;
    }
    return true;
}

std::optional<std::vector<uint8_t>> G726Transcoder::toAlaw(uint8_t codec, std::span<const uint8_t> payload,
                                                            uint16_t blockSize) {
    if (!isG726Codec(codec) || !frame_ || !packet_)
        return std::nullopt;
    const int bitsPerSample = 2 + (codec & 0x03);  // 4/36 → 2 bits ... 7/39 → 5 bits
    AVCodecContext* decoder = decoderFor(bitsPerSample);
    if (decoder == nullptr)
        return std::nullopt;
    const std::size_t block = blockSize == 0 || blockSize > payload.size() ? payload.size() : blockSize;
    const bool voiceHeader = hasVoiceHeader(payload, block);
    std::vector<uint8_t> alaw;
    for (std::size_t at = 0; at < payload.size(); at += block) {
        auto piece = payload.subspan(at, std::min(block, payload.size() - at));
        if (voiceHeader && piece.size() >= kVoiceHeaderSize)
            piece = piece.subspan(kVoiceHeaderSize);
        if (!decodeBlock(decoder, piece, alaw))
            return std::nullopt;
    }
    return alaw;
}

}  // namespace kvplay::record
