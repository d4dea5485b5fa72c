// Fills one track's events into data files the way the recorder does: frames upward from the media
// start, key-frame entries downward from the top, a new file when the two would meet or the file's
// event block is full, the event going on in the new file.
#pragma once

#include <cstdint>
#include <vector>

#include "EventSchedule.h"
#include "rfs/IndexRecords.h"

namespace storebench {

// A data file of a track before it has a place on the disk.
struct FilledFile {
    int track = 0;
    std::vector<rfs::index_event_info> events;
    uint32_t dataEnd = 0;   // where the next frame record would go
    uint32_t indexLow = 0;  // the lowest key-frame entry; the file size while there is none
};

std::vector<FilledFile> fillTrack(int track, const std::vector<ScheduledEvent>& schedule);

}  // namespace storebench
