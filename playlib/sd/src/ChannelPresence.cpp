#include "ChannelPresence.h"

#include <algorithm>

#include "MessageLine.h"
#include "PartitionEvents.h"
#include "SearchPasses.h"
#include "SearchResults.h"

namespace kvrfs {

int32_t findChannelsWithRecordings(uint8_t* channelBits, const rfs_time_t& start, const rfs_time_t& end) {
    message("starTime:%d-%d-%d %d:%d:%d   endTime:%d-%d-%d %d:%d:%d\n", start.year, start.month, start.day, start.hour,
            start.minute, start.second, end.year, end.month, end.day, end.hour, end.minute, end.second);
    // Every channel and every record type: the empty integrated type matches any event.
    uint8_t allChannels[kChannelBitBytes];
    std::fill(std::begin(allChannels), std::end(allChannels), 0xff);
    const uint32_t anyType = 0;
    rfs_find_param_t param{};
    param.search_type = 3;
    param.record_type = 0;
    param.chnCnt = kChannelBitBytes * 8;
    param.start = start;
    param.end = end;
    param.chnBit = allChannels;
    param.integratedRecType = &anyType;
    param.integratedRecTypeCount = 1;
    const SearchRequest request(param);

    std::fill(channelBits, channelBits + kChannelBitBytes, 0);
    for (int pass = 0; pass < 2; ++pass) {
        const int32_t result =
            visitPassPartitions(pass, request, StoredKind::Recordings, [&](const DiskRecord& disk, int p) {
                return visitPartitionEvents(
                    disk, p, request,
                    [&](uint32_t, const rfs::index_file_info& file, const rfs::index_event_info&, uint32_t) {
                        channelBits[file.chn / 8] |= static_cast<uint8_t>(1u << (file.chn % 8));
                        return 0;
                    });
            });
        if (result < 0)
            return kIndexOpenFailed;
    }
    return 0;
}

}  // namespace kvrfs
