#include "TrackFiller.h"

#include <algorithm>

#include "StoreShape.h"

namespace storebench {
namespace {

rfs::PackedTime packedSecond(int64_t second) {
    return rfs::packTime(rfs::fromEpochSeconds(second));
}

// Whole seconds that still fit, keeping the slot of the end marker under the lowest entry free.
uint32_t secondsThatFit(const FilledFile& file, uint64_t bytesPerSecond) {
    if (file.events.size() >= kEventsPerFile)
        return 0;
    const uint64_t room = file.indexLow - kEntrySize - file.dataEnd;
    return static_cast<uint32_t>(room / (bytesPerSecond + kEntrySize));
}

void appendEvent(FilledFile& file, int64_t start, uint32_t seconds, uint32_t recType, uint64_t bytesPerSecond) {
    rfs::index_event_info e{};
    e.magic = rfs::kEventMagic;
    e.start_time = packedSecond(start);
    e.end_time = packedSecond(start + seconds - 1);  // the second of its last key frame
    e.data_start = file.dataEnd;
    e.data_len = static_cast<uint32_t>(seconds * bytesPerSecond);
    e.kf_top = file.indexLow;
    e.kf_low = file.indexLow - seconds * kEntrySize;
    e.rec_type = recType;
    e.event_no = static_cast<uint16_t>(file.events.size() + 1);
    e.norm = 1;
    file.events.push_back(e);
    file.dataEnd += e.data_len;
    file.indexLow = e.kf_low;
}

}  // namespace

std::vector<FilledFile> fillTrack(int track, const std::vector<ScheduledEvent>& schedule) {
    const uint64_t bytesPerSecond = secondBytes(streamOf(track));
    std::vector<FilledFile> files;
    for (const ScheduledEvent& event : schedule) {
        int64_t start = event.start;
        uint32_t left = event.seconds;
        while (left > 0) {
            const uint32_t fit = files.empty() ? 0 : secondsThatFit(files.back(), bytesPerSecond);
            if (fit == 0) {
                files.push_back(FilledFile{track, {}, kMediaStart, kDataFileSize});
                continue;
            }
            const uint32_t seconds = std::min(left, fit);
            appendEvent(files.back(), start, seconds, event.recType, bytesPerSecond);
            start += seconds;
            left -= seconds;
        }
    }
    return files;
}

}  // namespace storebench
