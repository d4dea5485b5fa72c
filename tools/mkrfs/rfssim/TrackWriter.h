// Stores the frames of one channel's stream: numbers them, gives them their records' headers and moves
// on to a fresh data file when the open one is full, holds its share of events, or the month changes,
// and when an event asks for a file of its own or for another file state. On an SD card every event
// begins with a thumbnail of its first picture.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "rfssim/ChunkEncoder.h"
#include "rfssim/DataFileLedger.h"
#include "rfssim/DataFileWriter.h"
#include "rfssim/RecordingPlan.h"

namespace rfssim {

using DataFileOpener = std::function<std::unique_ptr<ByteSink>(DataFileSlot)>;

class TrackWriter {
public:
    TrackWriter(const DataFileLayout& layout, uint32_t eventsPerFile, DataFileLedger& ledger, DataFileOpener open,
                int storeChannel);

    void write(const PlannedEvent& event, const ChunkJob& job, const EncodedChunk& chunk);
    void close();

private:
    rfs::KVFrameHeader header(const PlannedEvent& event, const SimFrame& frame);
    void place(std::span<const StoredFrame> group, bool startsEvent, const PlannedEvent& event);
    // None on a hard disk; the frame's payload lives in thumbnailJpeg_ until the next call.
    std::optional<StoredFrame> thumbnail(const PlannedEvent& event, const StoredFrame& first);
    bool needsNewFile(std::span<const StoredFrame> group, const std::optional<StoredFrame>& thumbnail,
                      const PlannedEvent& event) const;
    void switchFile(rfs::FileState state);

    DataFileLayout layout_;
    uint32_t eventsPerFile_;
    DataFileLedger& ledger_;
    DataFileOpener open_;
    int storeChannel_;
    uint32_t nextVideoFrameNo_ = 0;
    uint32_t nextAudioFrameNo_ = 0;
    std::unique_ptr<DataFileWriter> file_;
    std::vector<uint8_t> thumbnailJpeg_;
};

}  // namespace rfssim
