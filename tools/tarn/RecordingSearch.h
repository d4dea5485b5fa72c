// The reader library's searches over the attached store, for the channels and record types of a query.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "QueryOptions.h"
#include "rfs/PackedTime.h"
#include "rfs/rfs_types.h"

namespace tarn {

// Index d-1 holds the record type bits of the recordings found on day d of the month that `month` lies in.
using DayMasks = std::array<uint32_t, 31>;

DayMasks findRecordingDays(const Query& query, const rfs::CalendarTime& month);

struct ChannelRecordings {
    Channel channel;
    std::vector<rfs_event_t> events;  // by start time
};

// The events of each selected channel that overlap [from, to]; events hidden on the recorder are left out
// by the reader. Throws Failure when the reader cannot search the store.
std::vector<ChannelRecordings> findRecordings(const Query& query, const rfs::CalendarTime& from,
                                              const rfs::CalendarTime& to);

}  // namespace tarn
