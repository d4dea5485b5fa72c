#include "StoreSummary.h"

#include <array>

namespace storebench {
namespace {

std::string timeText(rfs::PackedTime t) {
    return rfs::formatTime(rfs::unpackTime(t));
}

}  // namespace

void printStoreSummary(const StoreLayout& layout, std::ostream& out) {
    out << "Store: " << kDiskBytes / 1'000'000'000 << " GB image, " << kPartitions << " partitions of "
        << layout.filesPerPartition << " data files of 256 MiB (" << kPartitions * layout.filesPerPartition
        << " file records), " << kTracks << " tracks (" << kChannels << " cameras, main and second stream)\n";
    for (int p = 0; p < kPartitions; ++p) {
        const rfs::part_info_t& part = layout.partitions[p];
        out << "  partition " << p << ": " << part.file_nr - part.free_nr << " files used, " << part.free_nr << " free";
        if (part.free_nr != part.file_nr)
            out << ", " << timeText(part.rec_start) << " .. " << timeText(part.rec_end);
        out << '\n';
    }

    std::array<std::array<uint32_t, 3>, kDays> perDay{};  // normal, motion, alarm
    std::size_t events = 0;
    for (const PlannedFile& f : layout.files) {
        events += f.events.size();
        for (const rfs::index_event_info& e : f.events) {
            const int day = static_cast<int>((eventStartSecond(e) - dayStart(0)) / 86400);
            ++perDay[day][e.rec_type == rfs::RecNormal ? 0 : e.rec_type == rfs::RecMotion ? 1 : 2];
        }
    }
    out << "  " << events << " events in " << layout.files.size() << " files; per day (normal/motion/alarm):";
    for (int d = 0; d < kDays; ++d)
        out << "  " << rfs::formatTime(rfs::fromEpochSeconds(dayStart(d))).substr(5, 5) << " " << perDay[d][0] << "/"
            << perDay[d][1] << "/" << perDay[d][2];
    out << '\n';
    for (const PlannedFile& f : layout.files)
        if (f.holdsBytes)
            out << "  bytes written: partition " << f.partition << " file " << f.index << ", chn " << f.track << ", "
                << f.events.size() << " events, " << timeText(f.record.start_time) << " .. "
                << timeText(f.record.end_time) << '\n';
}

}  // namespace storebench
