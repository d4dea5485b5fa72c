// Writes one data file the way the recorder fills it: frame records upward from the media start,
// key-frame index entries downward from the end, motion-bit records upward from 4096 (on an SD card a
// thumbnail frame record before each event's frames instead), and finally the file record, a copy of
// which heads the file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "rfs/FrameRecord.h"
#include "rfs/IndexRecords.h"
#include "rfs/PictureRecords.h"
#include "rfssim/ByteSink.h"
#include "rfssim/StoreGeometry.h"

namespace rfssim {

struct DataFileSlot {
    int partition = 0;
    uint32_t index = 0;
};

struct StoredFrame {
    rfs::KVFrameHeader header{};
    std::span<const uint8_t> payload;
};

struct ClosedEvent {
    rfs::index_event_info record{};     // as on the medium
    rfs::index_event_info completed{};  // as the recorder finishes it; differs after a power loss

    uint32_t videoFrames = 0;
    uint32_t audioFrames = 0;
    uint32_t keyFrameEntries = 0;  // I frames and virtual key frames
};

// What a picture file holds besides its file record.
struct ClosedPictures {
    std::vector<rfs::pic_info_t> entries;  // in time order; entry i sits i + 1 slots below the top
    std::vector<uint8_t> jpeg;             // the payload of every picture of the file
    uint32_t picMonOffset = 0;
    uint32_t dayRecordSize = 0;
    std::vector<rfs::CalendarTime> days;  // one day record each, in order
};

struct ClosedDataFile {
    DataFileSlot slot;
    rfs::index_file_info record{};
    std::vector<ClosedEvent> events;
    ClosedPictures pictures;  // picture files only
};

// The record of a data file the recorder has never written to.
rfs::index_file_info freeFileRecord(const DataFileLayout& layout, uint32_t index);

class DataFileWriter {
public:
    DataFileWriter(const DataFileLayout& layout, DataFileSlot slot, uint8_t storeChannel, rfs::FileState state,
                   std::unique_ptr<ByteSink> sink);

    rfs::FileState state() const { return state_; }
    std::size_t eventCount() const { return events_.size(); }
    // A free event slot and, once the file has events, the same month.
    bool canStartEvent(int64_t timeUs) const;
    // Whether the group fits into the open event, or into a new one when none is open; a new event on
    // an SD card begins with its thumbnail.
    bool fits(std::span<const StoredFrame> group, const std::optional<StoredFrame>& thumbnail = std::nullopt) const;

    // An SD card's event needs its thumbnail, a hard disk's none.
    void beginEvent(uint32_t recTypes, uint8_t flag, const std::optional<StoredFrame>& thumbnail);
    void append(std::span<const StoredFrame> group);  // the group must fit
    // The record says whether the recorder finished the event or was still writing it.
    void endEvent(RecordingEnd ending);
    // Ends an open event as finished, marks the end of the key-frame index and writes the file record.
    ClosedDataFile close(uint32_t eseq);
    // The open event's frames are on the medium but its record is left as the power loss found it; the
    // file record shows the file still being written, accounting for the events before.
    void loseEvent(const PowerLoss& loss);
    ClosedDataFile leaveUnfinished(const PowerLoss& loss);

private:
    bool keepsMotionBits() const { return layout_.kind == StoreKind::HardDisk; }
    void writeKeyFrameEntries(const std::vector<rfs::iframe_info_t>& entries);
    void writeMotionBits(rfs::index_event_info& event);
    void writeIendSlot();
    void writeFileRecord(const rfs::index_file_info& record);
    // What a file record says of the given events, without the positions and sequence number.
    rfs::index_file_info recordOf(std::span<const ClosedEvent> events) const;

    DataFileLayout layout_;
    DataFileSlot slot_;
    uint8_t storeChannel_;
    rfs::FileState state_;
    std::unique_ptr<ByteSink> sink_;
    uint32_t entrySize_;  // of a key-frame entry
    uint32_t dataEnd_;    // where the next frame record goes
    uint32_t kfNext_;     // where the next key-frame entry goes
    uint32_t mobitNext_;  // where the next motion-bit record goes
    std::vector<ClosedEvent> events_;
    bool eventOpen_ = false;
    int64_t eventFirstSecond_ = 0;
    int64_t eventLastSecond_ = 0;
};

}  // namespace rfssim
