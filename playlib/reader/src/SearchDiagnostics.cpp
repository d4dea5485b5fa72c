#include "SearchDiagnostics.h"

#include <string>

#include "DiskRegistry.h"
#include "MessageLine.h"

namespace kvrfs {
namespace {

std::string timeFields(const rfs_time_t& t) {
    return std::to_string(t.year) + "/" + std::to_string(t.month) + "/" + std::to_string(t.day) + " " +
           std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
}

std::string timeFields(rfs::PackedTime t) { return timeFields(rfs::toRfsTime(t)); }

}  // namespace

void dumpSearchParameters(const rfs_find_param_t& param) {
    std::string channels;
    if (param.chnCnt > 1000) {
        channels = "chn:count big to 1000, not show";
    } else if (param.chnBit != nullptr) {
        char hex[8];
        for (int i = 0; i < (param.chnCnt + 7) / 8; ++i) {
            std::snprintf(hex, sizeof hex, "%x,", param.chnBit[i]);
            channels += hex;
        }
    }
    message("data_type:%d, search_type:%d, record_type:%#x, time:(%s)-(%s), chnCnt:%d, chnBit:0x%s\n",
            param.data_type, param.search_type, static_cast<unsigned>(param.record_type),
            timeFields(param.start).c_str(), timeFields(param.end).c_str(), param.chnCnt, channels.c_str());

    std::string integrated;
    char entry[40];
    for (int j = 0; param.integratedRecType != nullptr && j < param.integratedRecTypeCount; ++j) {
        std::snprintf(entry, sizeof entry, "[%d]%#x%c ", j, param.integratedRecType[j],
                      j + 1 < param.integratedRecTypeCount ? ',' : ' ');
        integrated += entry;
    }
    message("integratedRecType(%d):%s\n", param.integratedRecTypeCount, integrated.c_str());
}

void dumpDiskSummary() {
    message("all disk rec:\n");
    for (const auto& disk : registry().disks) {
        if (!disk)
            continue;
        message("disk:%d, %s\n", disk->disk_id, disk->path.c_str());
        for (int p = 0; p < disk->param.part_count; ++p) {
            const rfs::part_info_t& part = disk->part[p];
            message("\tpart:%d (%s)-(%s)\n", p, timeFields(part.rec_start).c_str(), timeFields(part.rec_end).c_str());
            message("\tpart:%d (%s)-(%s)\n", p, timeFields(part.pic_start).c_str(), timeFields(part.pic_end).c_str());
        }
    }
}

}  // namespace kvrfs
