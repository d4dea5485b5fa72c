#include "PartitionRepair.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "FileTable.h"
#include "KeyFrameEntries.h"
#include "MessageLine.h"
#include "ReaderProfile.h"
#include "rfs/PictureRecords.h"

namespace kvrfs {
namespace {

constexpr uint32_t kKeyFramePiece = 64 * 1024;
constexpr int kKeyFramePieces = 65;
constexpr uint32_t kMobitSize = sizeof(rfs::mobit_info_t);
constexpr uint32_t kMobitReadBytes = 81920;

// One data file of the partition with the geometry the repair needs.
struct DataFile {
    StoreFile file;
    uint64_t base = 0;  // where the file starts on the drive (raw mode) or 0
    uint32_t size = 0;
    uint32_t mediaStart = 0;

    template <typename Record>
    bool read(Record* records, uint64_t offset, std::size_t count) const {
        const std::size_t bytes = count * sizeof(Record);
        return offset + bytes <= size && file.readAt(records, base + offset, bytes) == static_cast<int64_t>(bytes);
    }
    bool readEntries(rfs::iframe_info_t* entries, uint64_t offset, std::size_t count) const {
        const uint32_t entrySize = keyFrameEntrySize();
        return offset % entrySize == 0 && offset + count * entrySize <= size &&
               readKeyFrameEntries(file, base, static_cast<int64_t>(offset / entrySize), count, entries);
    }
    template <typename Record>
    bool write(const Record& record, uint64_t offset) const {
        return offset + sizeof record <= size &&
               file.writeAt(&record, base + offset, sizeof record) == static_cast<int64_t>(sizeof record);
    }
};

DataFile openDataFile(const IndexLocation& where, uint32_t index, OpenFor access) {
    DataFile data;
    data.file = StoreFile::openDataFile(where.mode, where.path, index, access);
    data.base = where.mode == AccessMode::Raw ? rfs::dataFileOffset(where.param, where.partition, index) : 0;
    data.size = rfs::normalisedDataFileSize(where.param.dataFileSize);
    data.mediaStart = rfs::mediaStart(data.size);
    return data;
}

struct KeyFrameEntry {
    rfs::iframe_info_t entry;
    uint32_t position;
};

// The event's newest key-frame entry: the one just above the "Iend" slot, searched downward from
// kf_top in 64 KiB pieces.
std::optional<KeyFrameEntry> lastKeyFrame(const DataFile& data, const rfs::index_event_info& event) {
    const uint32_t entrySize = keyFrameEntrySize();
    const uint32_t entriesPerPiece = kKeyFramePiece / entrySize;
    if (event.kf_top % entrySize != 0 || event.kf_top > data.size)
        return std::nullopt;
    std::vector<rfs::iframe_info_t> piece(entriesPerPiece);
    for (uint32_t d = 0; d < kKeyFramePieces; ++d) {
        const uint64_t top = uint64_t{event.kf_top} - uint64_t{d} * kKeyFramePiece;
        if (top < kKeyFramePiece + data.mediaStart)
            break;
        const uint64_t bottom = top - kKeyFramePiece;
        if (!data.readEntries(piece.data(), bottom, entriesPerPiece))
            return std::nullopt;
        for (uint32_t i = entriesPerPiece; i-- > 0;) {
            if (piece[i].magic != rfs::kIFrameEndMagic)
                continue;
            if (i + 1 < entriesPerPiece)
                return KeyFrameEntry{piece[i + 1], static_cast<uint32_t>(bottom + (i + 1) * entrySize)};
            if (d == 0) {
                message("this is impossible,bad luck!\n");
                return std::nullopt;
            }
            // The slot tops this piece: the newest entry is the bottom one of the piece above.
            KeyFrameEntry above{{}, static_cast<uint32_t>(top)};
            if (!data.readEntries(&above.entry, top, 1)) {
                message("read iframe failed\n");
                return std::nullopt;
            }
            return above;
        }
    }
    message("can't find last iframe\n");
    return std::nullopt;
}

// Where the event's motion-bit records end: the "MoBi"/"tEnd" marker below the media start.
uint32_t mobitEnd(const DataFile& data, const rfs::index_event_info& event) {
    message("m_start:%d\n", static_cast<int>(event.mobit_start));
    std::vector<rfs::mobit_info_t> records(kMobitReadBytes / kMobitSize);
    for (uint64_t at = event.mobit_start; at + kMobitSize <= data.mediaStart;) {
        const std::size_t count =
            std::min<std::size_t>(records.size(), static_cast<std::size_t>((data.mediaStart - at) / kMobitSize));
        if (!data.read(records.data(), at, count))
            break;
        for (std::size_t i = 0; i < count; ++i)
            if (records[i].magic == rfs::kMobitMagic && records[i].magic2 == rfs::kMobitEndMagic) {
                message("m_end:%d\n", static_cast<int>(at + i * kMobitSize));
                return static_cast<uint32_t>(at + i * kMobitSize);
            }
        at += count * kMobitSize;
    }
    message("not find end mobit, then end_offset = start_offset\n");
    return event.mobit_start;
}

// Completes an event the recorder was still writing, from its key-frame index and motion bits. False
// when its newest key frame cannot be found: the event is then dropped.
bool completeEvent(const DataFile& data, rfs::index_event_info& event) {
    const auto last = lastKeyFrame(data, event);
    if (!last)
        return false;
    // The entry comes from the medium: its frame must lie inside the event's data, below the index.
    const uint64_t length = keyFrameLength(data.file, data.base, last->entry);
    if (length == 0 || last->entry.offset < event.data_start || last->entry.offset + length > last->position)
        return false;
    // Where the motion-bit fields hold the event's thumbnail they are the recorder's and stay.
    if (!readerProfile().eventsCarryThumbnails)
        event.mobit_end = mobitEnd(data, event);
    event.magic = rfs::kEventMagic;
    event.end_time = last->entry.time;
    event.data_len = static_cast<uint32_t>(last->entry.offset + length - event.data_start);
    event.kf_low = last->position;
    event.flag = 0;
    return true;
}

// Marks the day of `time` for each of the record types.
void addDay(rfs::index_file_info& file, rfs::PackedTime time, uint32_t recordTypes) {
    const int day = rfs::unpackTime(time).day;
    if (day < 1 || day > 31)
        return;
    for (int type = 0; type < 16; ++type)
        if (recordTypes >> type & 1)
            file.day_bits[type] |= 1u << (day - 1);
}

void closeFileRecord(rfs::index_file_info& file, const std::vector<rfs::index_event_info>& events, const DataFile& data,
                     uint32_t& maxEseq) {
    const bool motionBits = !readerProfile().eventsCarryThumbnails;
    if (events.empty()) {
        file.data_end = data.mediaStart;
        file.index_low = data.size;
        if (motionBits)
            file.mobit_end = rfs::kMobitStart;
    } else {
        file.data_end = events.back().data_start + events.back().data_len;
        file.index_low = events.back().kf_low;
        if (motionBits)
            file.mobit_end = events.back().mobit_end;
    }
    file.eseq = ++maxEseq;
    if (file.state == rfs::FileInUse)
        file.state = rfs::FileRepaired;
    std::fill(std::begin(file.day_bits), std::end(file.day_bits), 0u);
    file.start_time = 0;
    file.end_time = 0;
    for (const rfs::index_event_info& e : events) {
        if (e.flag != 1)
            addDay(file, e.start_time, e.rec_type);
        if (e.start_time != 0 && (file.start_time == 0 || e.start_time < file.start_time))
            file.start_time = e.start_time;
        file.end_time = std::max(file.end_time, e.end_time);
    }
}

// Closes a recording file still being written. False when the repair cannot go on.
bool repairRecordingFile(const IndexLocation& where, uint32_t index, rfs::index_file_info& file, uint32_t& maxEseq) {
    const rfs::disk_param_t& param = where.param;
    const DataFile data = openDataFile(where, index, OpenFor::ReadWrite);
    if (!data.file.isOpen()) {
        message("open datafile  err!\n");
        return true;
    }
    message("chn%d repair last file%u, eseq=%u\n", file.chn, index, file.eseq);

    const uint32_t slots = rfs::eventsPerFile(param.dataFileSize);
    const uint64_t block = rfs::eventBlockOffset(param.event_table_offset, index, slots);
    std::vector<rfs::index_event_info> events(slots);
    if (!readIndex(where, block, events.data(), events.size() * sizeof(rfs::index_event_info))) {
        message("read event err!\n");
        return false;
    }
    const auto open = std::find_if(events.begin(), events.end(), [](const rfs::index_event_info& e) {
        return e.magic == rfs::kEventWritingMagic || e.magic == 0;
    });
    auto k = static_cast<uint32_t>(open - events.begin());
    if (open != events.end() && open->magic == rfs::kEventWritingMagic) {
        message("chn%d repair begin\n", file.chn);
        if (open->event_no != k + 1) {
            message("chn%d Warning event nr conflict!!!\n", file.chn);
            open->event_no = static_cast<uint16_t>(k + 1);
        }
        message("chn%d repair event%u\n", file.chn, k);
        const bool completed = completeEvent(data, *open);
        if (!completed)
            open->magic = 0;
        if (!writeIndex(where, block + k * sizeof(rfs::index_event_info), &*open, sizeof *open)) {
            message("write event err!\n");
            return false;
        }
        if (completed)
            ++k;
    } else {
        message("chn%d repair last event%u is ok\n", file.chn, k);
    }
    file.event_nr = static_cast<uint16_t>(k);
    events.resize(k);
    closeFileRecord(file, events, data, maxEseq);

    if (!writeIndex(where, fileRecordOffset(param, index), &file, sizeof file)) {
        message("write file err!\n");
        return false;
    }
    if (!data.write(file, 0) || (where.mode == AccessMode::Directory && !data.file.commit())) {
        message("write data file info failed\n");
        return false;
    }
    message("chn%d repair success\n", file.chn);
    return true;
}

void resetPictureRecord(rfs::index_file_info& file, uint32_t size) {
    file.event_nr = 0;
    file.start_time = 0;
    file.end_time = 0;
    file.chn_mask[0] = file.chn_mask[1] = 0;
    std::fill(std::begin(file.day_bits), std::end(file.day_bits), 0u);
    file.data_end = rfs::kPictureBlock;
    file.index_low = size;
}

// Recounts a picture file the recorder was filling from its picture index, read downward from the top
// of the file to the end marker. Pictures marked 2 are not counted. False when the repair cannot go on.
bool repairPictureFile(const IndexLocation& where, uint32_t index, rfs::index_file_info& file, uint32_t& maxEseq) {
    const rfs::disk_param_t& param = where.param;
    const DataFile data = openDataFile(where, index, OpenFor::Read);
    file.eseq = ++maxEseq;
    resetPictureRecord(file, data.size);
    if (!data.file.isOpen()) {
        message("open data file err!\n");
        return false;
    }

    const uint32_t entriesPerBlock = data.size / (1024 * 1024) * 32;
    std::vector<rfs::pic_info_t> block(entriesPerBlock);
    bool ended = false;
    for (uint32_t j = 1; j <= 32 && !ended; ++j) {
        const uint64_t start = uint64_t{data.size} - uint64_t{j} * entriesPerBlock * sizeof(rfs::pic_info_t);
        if (!data.read(block.data(), start, block.size())) {
            message("read chn32 pic info failed\n");
            return false;
        }
        for (uint32_t i = entriesPerBlock; i-- > 0 && !ended;) {
            const rfs::pic_info_t& entry = block[i];
            if (entry.magic == rfs::PIC_END_MAGIC) {
                message("find PIC_END_MAGIC!\n");
                // The newest picture sits just above the end marker, also when some are not counted.
                const uint64_t marker = start + uint64_t{i} * sizeof entry;
                file.index_low = static_cast<uint32_t>(marker + sizeof entry);
                if (entry.position <= marker)
                    file.data_end = entry.position;
                ended = true;
            } else if (entry.magic == rfs::kPictureMagic && entry.pic_state != 2) {
                ++file.event_nr;
                if (entry.pic_chn < 64)
                    file.chn_mask[entry.pic_chn / 32] |= 1u << (entry.pic_chn % 32);
                if (file.start_time == 0 || entry.time < file.start_time)
                    file.start_time = entry.time;
                file.end_time = std::max(file.end_time, entry.time);
                addDay(file, entry.time, entry.rec_type);
            }
        }
    }
    if (!ended) {
        message("can't find pic end index!\n");
        resetPictureRecord(file, data.size);
    }
    if (!writeIndex(where, fileRecordOffset(param, index), &file, sizeof file)) {
        message("write file info failed\n");
        return false;
    }
    return true;
}

// The partition's range of recordings is what searches test first: the events a repair completed,
// written after the range was last stored, must lie inside it.
void coverRecordings(rfs::part_info_t& info, const rfs::index_file_info& file) {
    if (file.event_nr == 0 || file.start_time == 0)
        return;
    if (info.rec_start == 0 || file.start_time < info.rec_start)
        info.rec_start = file.start_time;
    info.rec_end = std::max(info.rec_end, file.end_time);
}

}  // namespace

int repairPartition(const IndexLocation& where, rfs::part_info_t& info) {
    std::vector<unsigned char> raw(fileTableBytes(info.file_nr));
    if (!readIndex(where, where.param.file_table_offset, raw.data(), raw.size())) {
        message("kv_read file err!\n");
        message("get chn seq err\n");
        return -1;
    }
    std::vector<rfs::index_file_info> table = decodeFileTable(raw, info.file_nr);
    uint32_t freeFiles = 0;
    uint32_t minEseq = 0;
    uint32_t maxEseq = 0;
    for (const rfs::index_file_info& f : table) {
        if (f.magic != rfs::kFileMagic)
            continue;
        if (f.state == rfs::FileFree)
            ++freeFiles;
        if (f.state > 2 && f.state != rfs::FileRepaired)
            continue;
        if (f.eseq != 0 && (minEseq == 0 || f.eseq < minEseq))
            minEseq = f.eseq;
        if (f.eseq != rfs::kOpenFileSeq)
            maxEseq = std::max(maxEseq, f.eseq);
    }
    info.free_nr = static_cast<uint16_t>(freeFiles);
    message("min end_sequence=%u, max end_sequence=%u\n", minEseq, maxEseq);

    auto beingWritten = [](const rfs::index_file_info& f, rfs::FileType type) {
        return f.magic == rfs::kFileMagic && f.type == type && f.eseq == rfs::kOpenFileSeq;
    };
    for (uint32_t n = 0; n < table.size(); ++n) {
        if (!beingWritten(table[n], rfs::RecordingFile))
            continue;
        if (!repairRecordingFile(where, n, table[n], maxEseq)) {
            message("repair rec err\n");
            return -1;
        }
        coverRecordings(info, table[n]);
    }
    for (uint32_t n = 0; n < table.size(); ++n) {
        if (beingWritten(table[n], rfs::PictureFile) && !repairPictureFile(where, n, table[n], maxEseq)) {
            message("repair pic err\n");
            return -1;
        }
    }
    if (!writeIndex(where, 0, &info, sizeof info)) {
        message("write file partition info failed\n");
        message("repair pic err\n");
        return -1;
    }
    return 0;
}

}  // namespace kvrfs
