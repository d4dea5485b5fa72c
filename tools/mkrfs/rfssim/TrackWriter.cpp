#include "rfssim/TrackWriter.h"

#include <string>

#include "rfssim/AlawTone.h"
#include "rfssim/SimError.h"
#include "rfssim/StillPicture.h"

namespace rfssim {

TrackWriter::TrackWriter(const DataFileLayout& layout, uint32_t eventsPerFile, DataFileLedger& ledger,
                         DataFileOpener open, int storeChannel)
    : layout_(layout),
      eventsPerFile_(eventsPerFile),
      ledger_(ledger),
      open_(std::move(open)),
      storeChannel_(storeChannel) {}

rfs::KVFrameHeader TrackWriter::header(const PlannedEvent& event, const SimFrame& frame) {
    rfs::KVFrameHeader h{};
    h.FrameTag = rfs::KVFrameTag;
    h.frameType = frame.type;
    h.channel = static_cast<uint8_t>(storeChannel_ & 0x7f);
    h.framesize = static_cast<uint32_t>(frame.payload.size());
    h.Time = static_cast<uint64_t>(frame.timeUs);
    h.timestamp = h.Time;
    if (frame.type == rfs::FrameAudio) {
        h.codec = rfs::CodecG711A;
        h.frameNo = nextAudioFrameNo_++;
        h.audio.sampleRate = kAudioSampleRate;
        h.audio.channels = 1;
        h.audio.bitsPerSample = 16;
        h.audio.blockSize = static_cast<uint16_t>(frame.payload.size());
        return h;
    }
    h.codec = event.video.codec == VideoCodecKind::H265 ? rfs::CodecH265 : rfs::CodecH264;
    h.frameNo = nextVideoFrameNo_++;
    h.video.width = static_cast<uint16_t>(event.video.width);
    h.video.height = static_cast<uint16_t>(event.video.height);
    h.video.frameRate = static_cast<uint8_t>(event.video.fps);
    h.video.standard = 'N';
    h.video.videoFlags = static_cast<uint16_t>(frame.keyFrameDistance << 2);
    return h;
}

void TrackWriter::write(const PlannedEvent& event, const ChunkJob& job, const EncodedChunk& chunk) {
    for (std::size_t g = 0; g < chunk.groups.size(); ++g) {
        std::vector<StoredFrame> group;
        for (const SimFrame& frame : chunk.groups[g])
            group.push_back(StoredFrame{header(event, frame), frame.payload});
        place(group, job.firstFrame == 0 && g == 0, event);
    }
    if (!job.endsEvent)
        return;
    if (!event.powerLoss) {
        file_->endEvent(event.ending);
        return;
    }
    file_->loseEvent(*event.powerLoss);
    ledger_.recordClosed(file_->leaveUnfinished(*event.powerLoss));
    file_.reset();
}

void TrackWriter::place(std::span<const StoredFrame> group, bool startsEvent, const PlannedEvent& event) {
    // An event that does not fit goes on in the next file as an event of its own.
    if (startsEvent || !file_->fits(group)) {
        const std::optional<StoredFrame> head = thumbnail(event, group.front());
        if (!startsEvent || needsNewFile(group, head, event))
            switchFile(event.fileState);
        file_->beginEvent(event.recTypes, event.flag, head);
    }
    if (!file_->fits(group))
        throw SimError("a group of pictures of store channel " + std::to_string(storeChannel_) +
                       " does not fit into a whole data file; lower the bitrate or the gop");
    file_->append(group);
}

std::optional<StoredFrame> TrackWriter::thumbnail(const PlannedEvent& event, const StoredFrame& first) {
    if (layout_.kind != StoreKind::SdCard)
        return std::nullopt;
    const auto timeUs = static_cast<int64_t>(first.header.Time);
    thumbnailJpeg_ = stillPictureJpeg(event.userChannel, event.stream, timeUs);
    return StoredFrame{
        stillPictureHeader(rfs::FrameThumbnail, storeChannel_, first.header.frameNo, timeUs, thumbnailJpeg_.size()),
        thumbnailJpeg_};
}

// A file has one state for all its events, so an event of another state never joins it.
bool TrackWriter::needsNewFile(std::span<const StoredFrame> group, const std::optional<StoredFrame>& thumbnail,
                               const PlannedEvent& event) const {
    return !file_ || event.newFile || file_->state() != event.fileState || file_->eventCount() >= eventsPerFile_ ||
           !file_->canStartEvent(static_cast<int64_t>(group.front().header.Time)) || !file_->fits(group, thumbnail);
}

void TrackWriter::switchFile(rfs::FileState state) {
    close();
    const DataFileSlot slot = ledger_.allocate();
    file_ = std::make_unique<DataFileWriter>(layout_, slot, static_cast<uint8_t>(storeChannel_), state, open_(slot));
}

void TrackWriter::close() {
    if (!file_)
        return;
    ledger_.recordClosed(file_->close(ledger_.nextSequence()));
    file_.reset();
}

}  // namespace rfssim
