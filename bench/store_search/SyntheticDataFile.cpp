#include "SyntheticDataFile.h"

#include <cstring>

#include "rfs/FrameRecord.h"

namespace storebench {
namespace {

constexpr uint64_t kFrameMicros = 1'000'000 / kFramesPerSecond;

// Builds one second of a stream: its I frame, then the P frames, numbered from `frameNo`.
class SecondBuilder {
public:
    explicit SecondBuilder(int track)
        : stream_(streamOf(track)), channel_(static_cast<uint8_t>(track)), bytes_(secondBytes(stream_)) {}

    const std::vector<unsigned char>& build(int64_t second, uint32_t frameNo) {
        std::size_t at = 0;
        for (int k = 0; k < kFramesPerSecond; ++k) {
            const bool key = k == 0;
            rfs::KVFrameHeader h{};
            h.FrameTag = rfs::KVFrameTag;
            h.frameType = key ? rfs::FrameI : rfs::FrameP;
            h.codec = rfs::CodecH264;
            h.channel = channel_;
            h.frameNo = frameNo + static_cast<uint32_t>(k);
            h.framesize = key ? stream_.iFrameSize : stream_.pFrameSize;
            h.Time = static_cast<uint64_t>(second) * 1'000'000 + k * kFrameMicros;
            h.timestamp = h.Time;
            h.video.width = stream_.width;
            h.video.height = stream_.height;
            h.video.frameRate = kFramesPerSecond;
            std::memcpy(bytes_.data() + at, &h, sizeof h);
            const std::size_t stored = rfs::storedFrameLength(h.framesize);
            std::memset(bytes_.data() + at + sizeof h, static_cast<int>(h.frameNo & 0xff), stored - sizeof h);
            at += stored;
        }
        return bytes_;
    }

private:
    const StreamShape& stream_;
    uint8_t channel_;
    std::vector<unsigned char> bytes_;
};

// Entries grow downward: the event's first key frame sits highest, at kf_top - 32.
std::vector<rfs::iframe_info_t> keyFrameEntries(const rfs::index_event_info& event, const StreamShape& stream) {
    const uint32_t seconds = eventSeconds(event);
    const int64_t start = eventStartSecond(event);
    const auto iFrameLength = static_cast<uint32_t>(rfs::storedFrameLength(stream.iFrameSize));
    std::vector<rfs::iframe_info_t> entries(seconds);
    for (uint32_t i = 0; i < seconds; ++i) {
        rfs::iframe_info_t& e = entries[seconds - 1 - i];
        e.magic = rfs::kIFrameMagic;
        e.time = rfs::packTime(rfs::fromEpochSeconds(start + i));
        e.offset = static_cast<uint32_t>(event.data_start + i * secondBytes(stream));
        e.length = iFrameLength;
        e.ref_offset = e.offset;
        e.ref_length = e.length;
    }
    return entries;
}

}  // namespace

void writeDataFile(const ImageFile& image, const rfs::disk_param_t& param, const PlannedFile& file) {
    const uint64_t base = rfs::dataFileOffset(param, file.partition, file.index);
    const StreamShape& stream = streamOf(file.track);
    const uint64_t bytesPerSecond = secondBytes(stream);
    SecondBuilder builder(file.track);
    uint32_t frameNo = 0;

    image.write(base, file.record);
    for (const rfs::index_event_info& event : file.events) {
        const int64_t start = eventStartSecond(event);
        for (uint32_t i = 0; i < eventSeconds(event); ++i) {
            image.write(base + event.data_start + i * bytesPerSecond, builder.build(start + i, frameNo));
            frameNo += kFramesPerSecond;
        }
        image.write(base + event.kf_low, keyFrameEntries(event, stream));
    }
    rfs::iframe_info_t end{};
    end.magic = rfs::kIFrameEndMagic;
    image.write(base + file.record.index_low - kEntrySize, end);
}

}  // namespace storebench
