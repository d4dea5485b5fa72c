#include "rfssim/DataFileWriter.h"

#include <algorithm>

#include "rfs/PackedTime.h"
#include "rfssim/SizedRecords.h"

namespace rfssim {
namespace {

constexpr uint32_t kMobitSize = sizeof(rfs::mobit_info_t);

int64_t secondOf(const StoredFrame& frame) {
    return static_cast<int64_t>(frame.header.Time / 1'000'000);
}

rfs::PackedTime packedSecond(int64_t second) {
    return rfs::packTime(rfs::fromEpochSeconds(second));
}

bool isKeyFrameEntry(const StoredFrame& frame) {
    return frame.header.frameType == rfs::FrameI || frame.header.frameType == rfs::FrameVirtual;
}

int monthOf(int64_t second) {
    const rfs::CalendarTime c = rfs::fromEpochSeconds(second);
    return c.year * 12 + c.month;
}

// The frame record as stored: header, payload, zeros up to the next multiple of 8.
void appendFrameRecord(std::vector<uint8_t>& records, const StoredFrame& frame) {
    const auto header = recordBytes(frame.header);
    const std::size_t end = records.size() + rfs::storedFrameLength(frame.header.framesize);
    records.insert(records.end(), header.begin(), header.end());
    records.insert(records.end(), frame.payload.begin(), frame.payload.end());
    records.resize(end);
}

// Deterministic "motion" for one second: a lit cell that wanders across the grid.
rfs::mobit_info_t motionBits(int64_t second) {
    rfs::mobit_info_t record{};
    record.magic = rfs::kMobitMagic;
    record.bits[second % sizeof record.bits] = 0xFF;
    return record;
}

}  // namespace

rfs::index_file_info freeFileRecord(const DataFileLayout& layout, uint32_t index) {
    rfs::index_file_info record{};
    record.magic = rfs::kFileMagic;
    record.file_no = static_cast<uint16_t>(index + 1);
    record.state = rfs::FileFree;
    record.data_end = layout.mediaStart;
    record.index_low = layout.size;
    record.mobit_end = rfs::kMobitStart;
    return record;
}

DataFileWriter::DataFileWriter(const DataFileLayout& layout, DataFileSlot slot, uint8_t storeChannel,
                               rfs::FileState state, std::unique_ptr<ByteSink> sink)
    : layout_(layout),
      slot_(slot),
      storeChannel_(storeChannel),
      state_(state),
      sink_(std::move(sink)),
      entrySize_(keyFrameEntrySize(layout.kind)),
      dataEnd_(layout.mediaStart),
      kfNext_(layout.size - entrySize_),
      mobitNext_(rfs::kMobitStart) {}

bool DataFileWriter::canStartEvent(int64_t timeUs) const {
    if (events_.size() >= layout_.eventsPerFile)
        return false;
    if (events_.empty())
        return true;
    const auto first = rfs::unpackTime(events_.front().record.start_time);
    return first.year * 12 + first.month == monthOf(timeUs / 1'000'000);
}

bool DataFileWriter::fits(std::span<const StoredFrame> group, const std::optional<StoredFrame>& thumbnail) const {
    uint64_t bytes = thumbnail ? rfs::storedFrameLength(thumbnail->header.framesize) : 0;
    uint64_t entries = 0;
    for (const StoredFrame& frame : group) {
        bytes += rfs::storedFrameLength(frame.header.framesize);
        entries += isKeyFrameEntry(frame) ? 1 : 0;
    }
    // Frames end at or below the Iend slot under the group's lowest entry.
    const int64_t iendSlot = int64_t{kfNext_} - static_cast<int64_t>(entries * entrySize_);
    if (static_cast<int64_t>(dataEnd_ + bytes) > iendSlot)
        return false;
    if (!keepsMotionBits())
        return true;
    const int64_t firstSecond = eventOpen_ && events_.back().videoFrames + events_.back().audioFrames > 0
                                    ? eventFirstSecond_
                                    : secondOf(group.front());
    const int64_t records = secondOf(group.back()) - firstSecond + 2;  // one per second, then the end marker
    return mobitNext_ + records * kMobitSize <= layout_.mediaStart;
}

void DataFileWriter::beginEvent(uint32_t recTypes, uint8_t flag, const std::optional<StoredFrame>& thumbnail) {
    ClosedEvent event;
    rfs::index_event_info& r = event.record;
    if (thumbnail) {
        // Right before the event's frames, so it lies outside their range; the motion-bit fields
        // name it.
        std::vector<uint8_t> record;
        appendFrameRecord(record, *thumbnail);
        sink_->writeAt(dataEnd_, record);
        r.mobit_start = dataEnd_;
        r.mobit_end = static_cast<uint32_t>(rfs::kFrameHeaderSize + thumbnail->header.framesize);
        dataEnd_ += static_cast<uint32_t>(record.size());
    } else {
        r.mobit_start = mobitNext_;
    }
    r.data_start = dataEnd_;
    r.kf_top = kfNext_ + entrySize_;
    r.rec_type = recTypes;
    r.event_no = static_cast<uint16_t>(events_.size() + 1);
    r.norm = 1;
    r.flag = flag;
    events_.push_back(event);
    eventOpen_ = true;
}

void DataFileWriter::append(std::span<const StoredFrame> group) {
    ClosedEvent& event = events_.back();
    if (event.videoFrames + event.audioFrames == 0) {
        eventFirstSecond_ = secondOf(group.front());
        event.record.start_time = packedSecond(eventFirstSecond_);
    }
    std::vector<uint8_t> records;
    std::vector<rfs::iframe_info_t> entries;
    rfs::iframe_info_t reference{};
    for (const StoredFrame& frame : group) {
        const auto offset = static_cast<uint32_t>(dataEnd_ + records.size());
        appendFrameRecord(records, frame);
        const auto length = static_cast<uint32_t>(dataEnd_ + records.size() - offset);

        if (frame.header.frameType == rfs::FrameAudio) {
            ++event.audioFrames;
            continue;
        }
        ++event.videoFrames;
        if (!isKeyFrameEntry(frame))
            continue;
        rfs::iframe_info_t entry{};
        entry.magic = rfs::kIFrameMagic;
        entry.time = packedSecond(secondOf(frame));
        entry.offset = offset;
        entry.length = length;
        // A virtual key frame is decoded starting from its GOP's I frame.
        if (frame.header.frameType == rfs::FrameI)
            reference = entry;
        entry.ref_offset = reference.offset;
        entry.ref_length = reference.length;
        entries.push_back(entry);
    }
    sink_->writeAt(dataEnd_, records);
    dataEnd_ += static_cast<uint32_t>(records.size());
    writeKeyFrameEntries(entries);
    event.keyFrameEntries += static_cast<uint32_t>(entries.size());

    eventLastSecond_ = secondOf(group.back());
    event.record.end_time = packedSecond(eventLastSecond_);
    event.record.data_len = dataEnd_ - event.record.data_start;
    if (!entries.empty())
        event.record.kf_low = kfNext_ + entrySize_;
}

void DataFileWriter::writeKeyFrameEntries(const std::vector<rfs::iframe_info_t>& entries) {
    if (entries.empty())
        return;
    // Entries grow downward: the first one written sits highest.
    std::vector<uint8_t> block;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        const std::vector<uint8_t> bytes = keyFrameEntryBytes(*entry, layout_.kind);
        block.insert(block.end(), bytes.begin(), bytes.end());
    }
    const auto count = static_cast<uint32_t>(entries.size());
    sink_->writeAt(kfNext_ - (count - 1) * entrySize_, block);
    kfNext_ -= count * entrySize_;
}

void DataFileWriter::writeIendSlot() {
    rfs::iframe_info_t end{};
    end.magic = rfs::kIFrameEndMagic;
    sink_->writeAt(kfNext_, keyFrameEntryBytes(end, layout_.kind));
}

void DataFileWriter::writeFileRecord(const rfs::index_file_info& record) {
    sink_->writeAt(0, fileRecordBytes(record, layout_.kind));
}

void DataFileWriter::endEvent(RecordingEnd ending) {
    rfs::index_event_info& r = events_.back().record;
    r.magic = ending == RecordingEnd::EventStillWriting ? rfs::kEventWritingMagic : rfs::kEventMagic;
    if (keepsMotionBits())
        writeMotionBits(r);
    eventOpen_ = false;
    events_.back().completed = r;
}

void DataFileWriter::writeMotionBits(rfs::index_event_info& event) {
    std::vector<uint8_t> block;
    for (int64_t second = eventFirstSecond_; second <= eventLastSecond_; ++second) {
        const rfs::mobit_info_t record = motionBits(second);
        const auto bytes = recordBytes(record);
        block.insert(block.end(), bytes.begin(), bytes.end());
    }
    rfs::mobit_info_t marker{};
    marker.magic = rfs::kMobitMagic;
    marker.magic2 = rfs::kMobitEndMagic;
    const auto markerBytes = recordBytes(marker);
    block.insert(block.end(), markerBytes.begin(), markerBytes.end());
    sink_->writeAt(mobitNext_, block);

    event.mobit_end = mobitNext_ + static_cast<uint32_t>(block.size()) - kMobitSize;
    mobitNext_ += static_cast<uint32_t>(block.size());
}

void DataFileWriter::loseEvent(const PowerLoss& loss) {
    endEvent(RecordingEnd::Finished);
    rfs::index_event_info& r = events_.back().record;
    if (loss.at == PowerLoss::At::BeforeEvent) {
        r = rfs::index_event_info{};
        return;
    }
    r.magic = rfs::kEventWritingMagic;
    r.end_time = r.start_time;
    r.data_len = 0;
    r.kf_low = r.kf_top;
    // An SD card's thumbnail fields were set when the event began.
    if (keepsMotionBits())
        r.mobit_end = r.mobit_start;
    if (loss.wrongEventNumber)
        r.event_no = static_cast<uint16_t>(r.event_no + 100);
}

ClosedDataFile DataFileWriter::leaveUnfinished(const PowerLoss& loss) {
    if (!loss.iendLost)
        writeIendSlot();
    const std::span<const ClosedEvent> finished(events_.data(), events_.size() - 1);
    rfs::index_file_info r = recordOf(finished);
    r.eseq = rfs::kOpenFileSeq;
    if (finished.empty()) {
        r.data_end = layout_.mediaStart;
        r.index_low = layout_.size;
        r.mobit_end = rfs::kMobitStart;
    } else {
        const rfs::index_event_info& last = finished.back().record;
        r.data_end = last.data_start + last.data_len;
        r.index_low = last.kf_low;
        r.mobit_end = keepsMotionBits() ? last.mobit_end : rfs::kMobitStart;
    }
    writeFileRecord(r);
    return ClosedDataFile{slot_, r, events_, {}};
}

rfs::index_file_info DataFileWriter::recordOf(std::span<const ClosedEvent> events) const {
    rfs::index_file_info r{};
    r.magic = rfs::kFileMagic;
    r.file_no = static_cast<uint16_t>(slot_.index + 1);
    r.event_nr = static_cast<uint16_t>(events.size());
    r.state = state_;
    r.chn = storeChannel_;
    r.type = rfs::RecordingFile;
    r.switch_count = kSwitchCount;
    if (!events.empty())
        r.start_time = events.front().record.start_time;
    for (const ClosedEvent& event : events) {
        r.start_time = std::min(r.start_time, event.record.start_time);
        r.end_time = std::max(r.end_time, event.record.end_time);
        const int day = rfs::unpackTime(event.record.start_time).day;
        for (int type = 0; type < 16; ++type)
            if (event.record.rec_type & (1u << type))
                r.day_bits[type] |= 1u << (day - 1);
    }
    return r;
}

ClosedDataFile DataFileWriter::close(uint32_t eseq) {
    // An event still open here goes on in the track's next file.
    if (eventOpen_)
        endEvent(RecordingEnd::Finished);
    writeIendSlot();

    ClosedDataFile file{slot_, recordOf(events_), events_, {}};
    rfs::index_file_info& r = file.record;
    r.eseq = eseq;
    r.data_end = dataEnd_;
    r.index_low = kfNext_ + entrySize_;
    r.mobit_end = mobitNext_;
    writeFileRecord(r);
    return file;
}

}  // namespace rfssim
