#include "StoreLayout.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "DiskGeometry.h"
#include "EventSchedule.h"
#include "TrackFiller.h"

namespace storebench {
namespace {

constexpr uint32_t kSwitchCount = 1;

// The files the benchmark reads: by track and a time the file holds. Three lie in partition 0, the
// last (day 5) in partition 1; main and second streams, scheduled, motion and alarm recording.
struct FileChoice {
    int track;
    int day;
    int hour;
};
constexpr FileChoice kFilesWithBytes[] = {{0, 2, 12}, {9, 1, 15}, {kChannels + 13, 3, 9}, {2, 4, 20}};

rfs::index_file_info fileRecord(const FilledFile& filled, uint32_t index, uint32_t eseq) {
    rfs::index_file_info r{};
    r.magic = rfs::kFileMagic;
    r.file_no = static_cast<uint16_t>(index + 1);
    r.event_nr = static_cast<uint16_t>(filled.events.size());
    r.state = rfs::FileInUse;
    r.chn = static_cast<uint8_t>(filled.track);
    r.type = rfs::RecordingFile;
    r.start_time = filled.events.front().start_time;
    r.end_time = filled.events.back().end_time;
    r.eseq = eseq;
    r.data_end = filled.dataEnd;
    r.index_low = filled.indexLow;
    r.switch_count = kSwitchCount;
    r.mobit_end = rfs::kMobitStart;  // this recorder keeps no motion bits
    for (const rfs::index_event_info& e : filled.events)
        for (int type = 0; type < 16; ++type)
            if (e.rec_type >> type & 1)
                r.day_bits[type] |= 1u << (rfs::unpackTime(e.start_time).day - 1);
    return r;
}

// Every track's files, in the order the recorder needed them.
std::vector<FilledFile> fillAllTracks() {
    std::vector<FilledFile> all;
    for (int track = 0; track < kTracks; ++track) {
        std::vector<FilledFile> files = fillTrack(track, channelSchedule(track % kChannels));
        std::move(files.begin(), files.end(), std::back_inserter(all));
    }
    std::stable_sort(all.begin(), all.end(), [](const FilledFile& a, const FilledFile& b) {
        return a.events.front().start_time < b.events.front().start_time;
    });
    return all;
}

rfs::part_info_t partitionRecord(const StoreLayout& layout, int partition) {
    rfs::part_info_t info{};
    info.magic = rfs::kPartMagic;
    info.file_nr = static_cast<uint16_t>(layout.filesPerPartition);
    info.switch_count = kSwitchCount;
    uint32_t used = 0;
    for (const PlannedFile& f : layout.files) {
        if (f.partition != partition)
            continue;
        info.rec_start = used == 0 ? f.record.start_time : std::min(info.rec_start, f.record.start_time);
        info.rec_end = std::max(info.rec_end, f.record.end_time);
        ++used;
    }
    info.free_nr = static_cast<uint16_t>(layout.filesPerPartition - used);
    return info;
}

void markFilesWithBytes(StoreLayout& layout) {
    for (const FileChoice& choice : kFilesWithBytes) {
        const rfs::PackedTime when = rfs::packTime(rfs::fromEpochSeconds(dayStart(choice.day) + choice.hour * 3600));
        const auto file = std::find_if(layout.files.begin(), layout.files.end(), [&](const PlannedFile& f) {
            return f.track == choice.track && f.record.end_time >= when;
        });
        if (file == layout.files.end())
            throw std::logic_error("no data file recorded at the chosen time");
        file->holdsBytes = true;
    }
}

void mix(uint64_t& hash, const void* bytes, std::size_t length) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    for (std::size_t i = 0; i < length; ++i)
        hash = (hash ^ p[i]) * 0x100000001b3ull;
}

}  // namespace

StoreLayout planStore() {
    const DiskGeometry geometry = diskGeometry();
    StoreLayout layout;
    layout.filesPerPartition = geometry.filesPerPartition;

    const std::vector<FilledFile> filled = fillAllTracks();
    if (filled.size() > uint64_t{kPartitions} * geometry.filesPerPartition)
        throw std::logic_error("the recording does not fit the disk");
    for (uint32_t seq = 0; seq < filled.size(); ++seq) {
        PlannedFile file;
        file.partition = static_cast<int>(seq / geometry.filesPerPartition);
        file.index = seq % geometry.filesPerPartition;
        file.track = filled[seq].track;
        file.record = fileRecord(filled[seq], file.index, seq + 1);
        file.events = filled[seq].events;
        layout.files.push_back(std::move(file));
    }
    markFilesWithBytes(layout);

    layout.param = geometry.param;
    for (int p = 0; p < kPartitions; ++p) {
        layout.partitions[p] = partitionRecord(layout, p);
        if (layout.partitions[p].free_nr < layout.filesPerPartition)
            layout.param.active_part = static_cast<uint8_t>(p);
    }
    layout.param.check_sum = rfs::diskParamCheckSum(layout.param);
    return layout;
}

uint64_t fingerprint(const StoreLayout& layout) {
    uint64_t hash = 0xcbf29ce484222325ull;
    mix(hash, &layout.param, sizeof layout.param);
    mix(hash, layout.partitions.data(), sizeof layout.partitions);
    for (const PlannedFile& f : layout.files) {
        mix(hash, &f.record, sizeof f.record);
        mix(hash, f.events.data(), f.events.size() * sizeof(rfs::index_event_info));
        mix(hash, &f.holdsBytes, sizeof f.holdsBytes);
    }
    return hash;
}

rfs::index_file_info freeFileRecord(uint32_t index) {
    rfs::index_file_info r{};
    r.magic = rfs::kFileMagic;
    r.file_no = static_cast<uint16_t>(index + 1);
    r.state = rfs::FileFree;
    r.data_end = kMediaStart;
    r.index_low = kDataFileSize;
    r.mobit_end = rfs::kMobitStart;
    return r;
}

int64_t eventStartSecond(const rfs::index_event_info& event) {
    return rfs::toEpochSeconds(rfs::unpackTime(event.start_time));
}

uint32_t eventSeconds(const rfs::index_event_info& event) {
    return (event.kf_top - event.kf_low) / kEntrySize;
}

}  // namespace storebench
