#include "LabelHeadScan.h"

#include <vector>

#include "LabelArea.h"
#include "MessageLine.h"

namespace kvrfs {
namespace {

// Recomputes the end marker position and each block's time range from the entries themselves.
bool rescan(const LabelArea& area, rfs::label_head_t& head) {
    std::vector<rfs::label_info_t> block;
    for (int b = 0; b < 2; ++b) {
        if (!area.readBlock(b, block)) {
            message("read chn32 label head info failed\n");
            return false;
        }
        for (const rfs::label_info_t& entry : block) {
            if (entry.magic == rfs::kLabelEndMagic)
                head.next_label = entry.number;
            if (entry.magic != rfs::kLabelMagic || entry.state != 1)
                continue;
            if (head.earliest[b] == 0 || entry.time < head.earliest[b])
                head.earliest[b] = entry.time;
            if (entry.time > head.latest[b])
                head.latest[b] = entry.time;
        }
    }
    return true;
}

}  // namespace

std::optional<rfs::label_head_t> scanLabelHead(AccessMode mode, const std::string& path,
                                               const rfs::disk_param_t& param) {
    const LabelArea area(mode, path, param, OpenFor::Read);
    if (!area.isOpen()) {
        message("open hdd failed\n");
        return std::nullopt;
    }
    message("label pos:%lld\n", static_cast<long long>(mode == AccessMode::Raw ? param.label_offset : 0));
    rfs::label_head_t head;
    if (!area.readHead(head)) {
        message("get label head err!\n");
        return std::nullopt;
    }
    message("labelHead:%d, %d\n", static_cast<int>(head.write_flag), static_cast<int>(head.magic));
    if (head.write_flag == 0)
        return head;

    if (!rescan(area, head))
        return std::nullopt;
    head.write_flag = 0;
    // A medium that cannot be written (a write-protected image) is still read with the rescanned head.
    const LabelArea writable(mode, path, param, OpenFor::ReadWrite);
    if (!writable.isOpen() || !writable.writeHead(head))
        message("write err!\n");
    return head;
}

}  // namespace kvrfs
