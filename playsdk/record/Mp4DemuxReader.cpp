#include "Mp4DemuxReader.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/bsf.h>
#include <libavformat/avformat.h>
}

#include "RecordCodecs.h"
#include "rfs/FrameRecord.h"

namespace kvplay::record {

namespace {

constexpr uint8_t kRecordH264 = 2;
constexpr uint8_t kRecordH265 = 8;
constexpr AVRational kMicroseconds{1, 1'000'000};

std::optional<AdtsHeader> adtsFormatOf(const AVCodecParameters& parameters) {
    // AudioSpecificConfig: object type (5 bits), frequency index (4), channel configuration (4).
    if (parameters.extradata == nullptr || parameters.extradata_size < 2)
        return std::nullopt;
    const uint8_t* config = parameters.extradata;
    AdtsHeader format;
    const int objectType = config[0] >> 3;
    if (objectType < 1 || objectType > 4)
        return std::nullopt;  // ADTS carries only the first four object types
    format.profile = static_cast<uint8_t>(objectType - 1);
    format.frequencyIndex = static_cast<uint8_t>((config[0] & 7) << 1 | config[1] >> 7);
    format.channelConfig = static_cast<uint8_t>((config[1] >> 3) & 0x0F);
    return format;
}

std::vector<uint8_t> recordOf(const rfs::KVFrameHeader& header, const uint8_t* payload, std::size_t size) {
    std::vector<uint8_t> record(rfs::kFrameHeaderSize + size);
    std::memcpy(record.data(), &header, sizeof header);
    if (size > 0)
        std::memcpy(record.data() + rfs::kFrameHeaderSize, payload, size);
    return record;
}

}  // namespace

void Mp4DemuxReader::Deleter::operator()(AVFormatContext* context) const { avformat_close_input(&context); }
void Mp4DemuxReader::Deleter::operator()(AVBSFContext* filter) const { av_bsf_free(&filter); }
void Mp4DemuxReader::Deleter::operator()(AVPacket* packet) const { av_packet_free(&packet); }

Mp4DemuxReader::Mp4DemuxReader() : packet_(av_packet_alloc()) {}
Mp4DemuxReader::~Mp4DemuxReader() = default;

int Mp4DemuxReader::open(const std::string& path) {
    AVFormatContext* context = nullptr;
    if (!packet_ || avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0)
        return -1;
    format_.reset(context);
    if (avformat_find_stream_info(context, nullptr) < 0)
        return -1;
    videoStream_ = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (videoStream_ < 0)
        return -1;
    AVStream* video = context->streams[videoStream_];
    const AVCodecID videoId = video->codecpar->codec_id;
    if (videoId != AV_CODEC_ID_H264 && videoId != AV_CODEC_ID_HEVC)
        return -1;
    videoCodec_ = videoId == AV_CODEC_ID_H264 ? kRecordH264 : kRecordH265;
    if (!openAnnexBFilter())
        return -1;

    const int audio = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, videoStream_, nullptr, 0);
    if (audio >= 0) {
        const AVCodecParameters& parameters = *context->streams[audio]->codecpar;
        switch (parameters.codec_id) {
        case AV_CODEC_ID_AAC:
            adtsFormat_ = adtsFormatOf(parameters);
            audioStream_ = adtsFormat_ ? audio : -1;
            audioCodec_ = kCodecAac;
            break;
        case AV_CODEC_ID_PCM_ALAW:
            audioStream_ = audio;
            audioCodec_ = rfs::CodecG711A;
            break;
        case AV_CODEC_ID_PCM_MULAW:
            audioStream_ = audio;
            audioCodec_ = rfs::CodecG711U;
            break;
        default:
            break;  // no frame record form for it: video only
        }
    }

    for (int i = 0; i < avformat_index_get_entries_count(video); ++i) {
        const AVIndexEntry* entry = avformat_index_get_entry(video, i);
        if (entry != nullptr && (entry->flags & AVINDEX_KEYFRAME))
            keyTimesUs_.push_back(av_rescale_q(entry->timestamp, video->time_base, kMicroseconds));
    }
    return 0;
}

// The records carry Annex B with parameter sets before key frames, as a recorder stores them.
bool Mp4DemuxReader::openAnnexBFilter() {
    const AVStream* video = format_->streams[videoStream_];
    const char* name = videoCodec_ == kRecordH264 ? "h264_mp4toannexb" : "hevc_mp4toannexb";
    const AVBitStreamFilter* filter = av_bsf_get_by_name(name);
    AVBSFContext* context = nullptr;
    if (filter == nullptr || av_bsf_alloc(filter, &context) < 0)
        return false;
    annexB_.reset(context);
    if (avcodec_parameters_copy(context->par_in, video->codecpar) < 0)
        return false;
    context->time_base_in = video->time_base;
    return av_bsf_init(context) >= 0;
}

std::optional<std::vector<uint8_t>> Mp4DemuxReader::videoRecord(AVPacket& packet) {
    if (av_bsf_send_packet(annexB_.get(), &packet) < 0 || av_bsf_receive_packet(annexB_.get(), &packet) < 0)
        return std::nullopt;
    const AVStream* stream = format_->streams[videoStream_];
    rfs::KVFrameHeader header{};
    header.FrameTag = rfs::KVFrameTag;
    header.frameType = (packet.flags & AV_PKT_FLAG_KEY) ? rfs::FrameI : rfs::FrameP;
    header.codec = videoCodec_;
    header.frameNo = videoFrames_++;
    header.framesize = static_cast<uint32_t>(packet.size);
    const int64_t pts = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
    header.Time = static_cast<uint64_t>(std::max<int64_t>(0, av_rescale_q(pts, stream->time_base, kMicroseconds)));
    header.timestamp = header.Time;
    header.video.width = static_cast<uint16_t>(stream->codecpar->width);
    header.video.height = static_cast<uint16_t>(stream->codecpar->height);
    const AVRational rate = stream->avg_frame_rate;
    header.video.frameRate = rate.den > 0 ? static_cast<uint8_t>(std::min(255, (rate.num + rate.den / 2) / rate.den)) : 0;
    auto record = recordOf(header, packet.data, static_cast<std::size_t>(packet.size));
    av_packet_unref(&packet);
    return record;
}

std::vector<uint8_t> Mp4DemuxReader::audioRecord(const AVPacket& packet) {
    const AVStream* stream = format_->streams[audioStream_];
    const auto size = static_cast<std::size_t>(packet.size);
    // AAC records carry ADTS headers, which the MP4 stores as the stream's configuration instead.
    std::array<uint8_t, 7> adts{};
    std::size_t prefix = 0;
    if (audioCodec_ == kCodecAac) {
        adts = makeAdtsHeader(*adtsFormat_, size);
        prefix = adts.size();
    }
    rfs::KVFrameHeader header{};
    header.FrameTag = rfs::KVFrameTag;
    header.frameType = rfs::FrameAudio;
    header.codec = audioCodec_;
    header.frameNo = audioFrames_++;
    header.framesize = static_cast<uint32_t>(prefix + size);
    const int64_t pts = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
    header.Time = static_cast<uint64_t>(std::max<int64_t>(0, av_rescale_q(pts, stream->time_base, kMicroseconds)));
    header.timestamp = header.Time;
    header.audio.sampleRate = static_cast<uint32_t>(stream->codecpar->sample_rate);
    header.audio.channels = static_cast<uint8_t>(stream->codecpar->ch_layout.nb_channels);
    header.audio.bitsPerSample = 16;
    header.audio.blockSize = static_cast<uint16_t>(std::min<std::size_t>(header.framesize, UINT16_MAX));
    auto record = recordOf(header, adts.data(), prefix);
    record.insert(record.end(), packet.data, packet.data + size);
    return record;
}

std::optional<std::vector<uint8_t>> Mp4DemuxReader::nextRecord() {
    while (av_read_frame(format_.get(), packet_.get()) >= 0) {
        const int stream = packet_->stream_index;
        if (stream == videoStream_)
            return videoRecord(*packet_);
        if (stream == audioStream_) {
            auto record = audioRecord(*packet_);
            av_packet_unref(packet_.get());
            return record;
        }
        av_packet_unref(packet_.get());
    }
    return std::nullopt;
}

int Mp4DemuxReader::readFrame(uint8_t* buffer, int& length) {
    if (!format_ || buffer == nullptr || length < 0)
        return -1;
    const auto record = nextRecord();
    if (!record || record->size() > static_cast<std::size_t>(length))
        return -1;
    std::memcpy(buffer, record->data(), record->size());
    length = static_cast<int>(record->size());
    return 0;
}

int Mp4DemuxReader::seekToTime(int64_t timeUs) {
    if (!format_)
        return -1;
    const AVStream* video = format_->streams[videoStream_];
    const int64_t target = av_rescale_q(timeUs, kMicroseconds, video->time_base);
    if (avformat_seek_file(format_.get(), videoStream_, target, target, INT64_MAX, 0) < 0)
        return -1;
    av_bsf_flush(annexB_.get());
    return 0;
}

int Mp4DemuxReader::timeRange(int64_t& firstUs, int64_t& lastUs) {
    if (!format_)
        return -1;
    const AVStream* video = format_->streams[videoStream_];
    const int64_t duration = video->duration != AV_NOPTS_VALUE ? av_rescale_q(video->duration, video->time_base,
                                                                              kMicroseconds)
                                                               : av_rescale_q(format_->duration, AV_TIME_BASE_Q,
                                                                              kMicroseconds);
    firstUs = 0;
    lastUs = std::max<int64_t>(0, duration);
    return firstUs == lastUs ? -1 : 0;
}

int Mp4DemuxReader::seekToKeyFrame(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= keyTimesUs_.size())
        return -1;
    return seekToTime(keyTimesUs_[static_cast<std::size_t>(index)]);
}

}  // namespace kvplay::record
