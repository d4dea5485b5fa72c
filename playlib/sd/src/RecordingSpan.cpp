#include "RecordingSpan.h"

#include <algorithm>

#include "DiskRegistry.h"

namespace kvrfs {

RecordingSpan recordingSpan() {
    RecordingSpan span;
    for (const auto& disk : registry().disks) {
        if (!disk)
            continue;
        for (int p = 0; p < disk->param.part_count; ++p) {
            const rfs::part_info_t& part = disk->part[p];
            if (part.rec_start != 0 && (span.start == 0 || part.rec_start < span.start))
                span.start = part.rec_start;
            span.end = std::max(span.end, part.rec_end);
        }
    }
    if (span.start == 0)
        span.end = 0;
    return span;
}

}  // namespace kvrfs
