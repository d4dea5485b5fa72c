// Reads MP4 files of other makers, and fragmented ones, through FFmpeg's demuxer: each packet of
// the video stream and of an AAC or G.711 audio stream becomes a frame record.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Adts.h"
#include "RecordReader.h"

struct AVFormatContext;
struct AVBSFContext;
struct AVPacket;

namespace kvplay::record {

class Mp4DemuxReader : public RecordReader {
public:
    Mp4DemuxReader();
    ~Mp4DemuxReader() override;
    Mp4DemuxReader(const Mp4DemuxReader&) = delete;
    Mp4DemuxReader& operator=(const Mp4DemuxReader&) = delete;

    // 0, or -1 when FFmpeg cannot open the file or it has no H.264/H.265 video stream.
    int open(const std::string& path);
    int readFrame(uint8_t* buffer, int& length) override;
    int seekToTime(int64_t timeUs) override;
    int timeRange(int64_t& firstUs, int64_t& lastUs) override;
    int keyFrameCount() const override { return static_cast<int>(keyTimesUs_.size()); }
    int seekToKeyFrame(int index) override;

private:
    struct Deleter {
        void operator()(AVFormatContext* context) const;
        void operator()(AVBSFContext* filter) const;
        void operator()(AVPacket* packet) const;
    };

    bool openAnnexBFilter();
    // The next packet as a record; nullopt at the end or on a read error.
    std::optional<std::vector<uint8_t>> nextRecord();
    std::optional<std::vector<uint8_t>> videoRecord(AVPacket& packet);
    std::vector<uint8_t> audioRecord(const AVPacket& packet);

    std::unique_ptr<AVFormatContext, Deleter> format_;
    std::unique_ptr<AVBSFContext, Deleter> annexB_;
    std::unique_ptr<AVPacket, Deleter> packet_;
    int videoStream_ = -1;
    int audioStream_ = -1;
    uint8_t videoCodec_ = 0;
    uint8_t audioCodec_ = 0;
    std::optional<AdtsHeader> adtsFormat_;
    uint32_t videoFrames_ = 0;
    uint32_t audioFrames_ = 0;
    std::vector<int64_t> keyTimesUs_;
};

}  // namespace kvplay::record
