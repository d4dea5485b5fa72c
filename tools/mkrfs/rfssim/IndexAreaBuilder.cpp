#include "rfssim/IndexAreaBuilder.h"

#include <algorithm>
#include <cstring>

#include "rfssim/SizedRecords.h"

namespace rfssim {
namespace {

template <typename Record>
void put(std::vector<uint8_t>& bytes, uint64_t offset, const Record& record) {
    std::memcpy(bytes.data() + offset, &record, sizeof record);
}

// Makes [start, end] cover the file's times; `any` says whether the range holds a file yet.
void widenRange(rfs::PackedTime& start, rfs::PackedTime& end, bool& any, const rfs::index_file_info& file) {
    start = any ? std::min(start, file.start_time) : file.start_time;
    end = std::max(end, file.end_time);
    any = true;
}

}  // namespace

std::vector<Extent> buildIndexArea(const rfs::disk_param_t& param, const DataFileLayout& layout, int partition,
                                   uint32_t fileCount, const std::vector<ClosedDataFile>& closedFiles) {
    std::vector<rfs::index_file_info> table;
    for (uint32_t n = 0; n < fileCount; ++n)
        table.push_back(freeFileRecord(layout, n));

    std::vector<Extent> extents(1);
    rfs::part_info_t part{};
    part.magic = rfs::kPartMagic;
    part.file_nr = static_cast<uint16_t>(fileCount);
    part.switch_count = kSwitchCount;
    bool anyEvents = false;
    bool anyPictures = false;
    for (const ClosedDataFile& file : closedFiles) {
        if (file.slot.partition != partition)
            continue;
        table[file.slot.index] = file.record;
        if (file.record.eseq == rfs::kOpenFileSeq)
            part.active = 1;
        if (file.record.type == rfs::PictureFile) {
            widenRange(part.pic_start, part.pic_end, anyPictures, file.record);
            continue;
        }
        if (file.record.event_nr > 0)
            widenRange(part.rec_start, part.rec_end, anyEvents, file.record);

        Extent block{rfs::eventBlockOffset(param.event_table_offset, file.slot.index, layout.eventsPerFile), {}};
        block.bytes.resize(file.events.size() * sizeof(rfs::index_event_info));
        for (std::size_t e = 0; e < file.events.size(); ++e)
            put(block.bytes, e * sizeof(rfs::index_event_info), file.events[e].record);
        extents.push_back(std::move(block));
    }
    part.free_nr = static_cast<uint16_t>(
        std::count_if(table.begin(), table.end(), [](const auto& r) { return r.state == rfs::FileFree; }));

    Extent& head = extents.front();
    const uint32_t stride = fileRecordSize(layout.kind);
    head.bytes.resize(param.file_table_offset + fileCount * stride);
    put(head.bytes, 0, part);
    for (uint32_t n = 0; n < fileCount; ++n) {
        const std::vector<uint8_t> record = fileRecordBytes(table[n], layout.kind);
        std::copy(record.begin(), record.end(), head.bytes.begin() + param.file_table_offset + n * stride);
    }
    return extents;
}

}  // namespace rfssim
