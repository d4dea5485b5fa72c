#include "rfssim/StoreManifest.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace rfssim {
namespace {

WrittenEvent describeEvent(const ClosedEvent& event, StoreKind kind) {
    const rfs::index_event_info& r = event.record;
    WrittenEvent written{.eventNo = r.event_no,
                         .magic = r.magic,
                         .start = rfs::unpackTime(r.start_time),
                         .end = rfs::unpackTime(r.end_time),
                         .recType = r.rec_type,
                         .flag = r.flag,
                         .dataStart = r.data_start,
                         .dataLen = r.data_len,
                         .kfTop = r.kf_top,
                         .kfLow = r.kf_low,
                         .mobitStart = r.mobit_start,
                         .mobitEnd = r.mobit_end,
                         .videoFrames = event.videoFrames,
                         .audioFrames = event.audioFrames,
                         .keyFrameEntries = event.keyFrameEntries,
                         .finishedKfLow = event.completed.kf_low,
                         .finishedMobitEnd = event.completed.mobit_end};
    if (kind == StoreKind::SdCard) {
        // A card's record keeps its thumbnail in the motion-bit fields.
        written.thumbnailOffset = std::exchange(written.mobitStart, 0);
        written.thumbnailLength = std::exchange(written.mobitEnd, 0);
        written.finishedMobitEnd = 0;
    }
    return written;
}

// Entries are numbered in time order, as their frame records are.
std::vector<WrittenPicture> describePictures(const ClosedPictures& pictures) {
    std::vector<WrittenPicture> written;
    for (const rfs::pic_info_t& entry : pictures.entries)
        written.push_back(WrittenPicture{rfs::unpackTime(entry.time), entry.position, entry.length, entry.rec_type,
                                         static_cast<uint32_t>(written.size())});
    return written;
}

WrittenFile describeFile(const ClosedDataFile& file, StoreKind kind) {
    const rfs::index_file_info& r = file.record;
    WrittenFile written{.partition = file.slot.partition,
                        .fileIndex = file.slot.index,
                        .storeChannel = r.chn,
                        .state = static_cast<rfs::FileState>(r.state),
                        .eseq = r.eseq,
                        .start = rfs::unpackTime(r.start_time),
                        .end = rfs::unpackTime(r.end_time),
                        .dataEnd = r.data_end,
                        .indexLow = r.index_low,
                        .mobitEnd = r.mobit_end,
                        .events = {},
                        .type = static_cast<rfs::FileType>(r.type),
                        .pictures = describePictures(file.pictures),
                        .jpeg = file.pictures.jpeg,
                        .picMonOffset = file.pictures.picMonOffset,
                        .dayRecordSize = file.pictures.dayRecordSize,
                        .pictureDays = file.pictures.days};
    for (const ClosedEvent& event : file.events)
        written.events.push_back(describeEvent(event, kind));
    return written;
}

}  // namespace

uint32_t WrittenFile::videoFrames() const {
    return std::accumulate(events.begin(), events.end(), 0u,
                           [](uint32_t sum, const WrittenEvent& e) { return sum + e.videoFrames; });
}

uint32_t WrittenFile::audioFrames() const {
    return std::accumulate(events.begin(), events.end(), 0u,
                           [](uint32_t sum, const WrittenEvent& e) { return sum + e.audioFrames; });
}

StoreManifest makeManifest(StoreLayout layout, const StoreGeometry& geometry,
                           const std::vector<ClosedDataFile>& closedFiles) {
    const StoreKind kind = geometry.dataFile.kind;
    StoreManifest manifest{layout, kind, geometry.param, geometry.filesPerPartition, {}};
    for (const ClosedDataFile& file : closedFiles)
        manifest.files.push_back(describeFile(file, kind));
    std::sort(manifest.files.begin(), manifest.files.end(), [](const WrittenFile& a, const WrittenFile& b) {
        return std::pair(a.partition, a.fileIndex) < std::pair(b.partition, b.fileIndex);
    });
    return manifest;
}

}  // namespace rfssim
