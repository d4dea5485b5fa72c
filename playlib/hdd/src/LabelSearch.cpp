#include "LabelSearch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

#include "LabelArea.h"
#include "MessageLine.h"
#include "SearchRequest.h"
#include "SearchResults.h"

namespace kvrfs {
namespace {

constexpr int kLabelSlots = 128;
constexpr int kMergedSearch = 2;

std::array<std::vector<rfs_label_t>, kLabelSlots>& labelResults() {
    static std::array<std::vector<rfs_label_t>, kLabelSlots> results;
    return results;
}

rfs_label_t resultOf(const rfs::label_info_t& entry) {
    rfs_label_t label{};
    label.chn = entry.channel;
    label.value = entry.value;
    label.time = rfs::toRfsTime(entry.time);
    // A stored name may fill its 44 bytes without a terminator; the result holds 39 characters at most.
    const std::size_t length = strnlen(entry.name, sizeof entry.name);
    std::memcpy(label.name, entry.name, std::min(length, sizeof label.name - 1));
    label.number = entry.number;
    label.disk_id = entry.disk_id;
    return label;
}

std::string_view nameOf(const rfs::label_info_t& entry) {
    return {entry.name, strnlen(entry.name, sizeof entry.name)};
}

// Calls visit for every entry of the blocks of each usable disk whose time range overlaps [from, to].
// False when a block cannot be read.
bool visitLabels(rfs::PackedTime from, rfs::PackedTime to,
                 const std::function<void(const rfs::label_info_t&)>& visit) {
    const DiskRegistry& reg = registry();
    std::vector<rfs::label_info_t> block;
    for (int id = 0; id < kMaxDisks; ++id) {
        const DiskRecord* disk = reg.disks[id].get();
        if (disk == nullptr)
            continue;
        if (disk->param.disk_state >= 3) {
            message("disk%d is err\n", id);
            continue;
        }
        if (!hasLabelArea(reg.mode(), disk->param)) {
            message("disk %d not formart to support label!!!\n", id);
            continue;
        }
        const LabelArea area(reg.mode(), disk->path, disk->param, OpenFor::Read);
        for (int b = 0; b < 2; ++b) {
            const rfs::label_head_t& head = disk->label_head;
            if (head.earliest[b] == 0 || head.earliest[b] > to || head.latest[b] < from)
                continue;
            if (!area.readBlock(b, block)) {
                message("read err!\n");
                return false;
            }
            for (const rfs::label_info_t& entry : block)
                if (entry.magic == rfs::kLabelMagic)
                    visit(entry);
        }
    }
    return true;
}

}  // namespace

int32_t findLabelStart(const rfs_find_param_t* param, const char* pattern) {
    if (param == nullptr || param->chnBit == nullptr) {
        message("chnbit error\n");
        return -1;
    }
    findLabelStop();
    const SearchRequest request(*param);
    const std::string_view wanted = pattern == nullptr ? std::string_view{} : std::string_view{pattern};
    auto& results = labelResults();
    const bool found = visitLabels(request.from(), request.to(), [&](const rfs::label_info_t& entry) {
        if (entry.state == 2 || !request.channelSelected(entry.channel) || entry.channel >= kLabelSlots ||
            entry.time < request.from() || entry.time > request.to())
            return;
        if (!wanted.empty() && nameOf(entry).find(wanted) == std::string_view::npos)
            return;
        results[param->search_type == kMergedSearch ? 0 : entry.channel].push_back(resultOf(entry));
    });
    if (!found)
        return -1;
    for (auto& slot : results)
        std::stable_sort(slot.begin(), slot.end(), [](const rfs_label_t& a, const rfs_label_t& b) {
            const rfs::PackedTime ta = rfs::packTime(a.time);
            const rfs::PackedTime tb = rfs::packTime(b.time);
            return ta != tb ? ta < tb : a.chn < b.chn;
        });
    return 0;
}

int32_t getLabels(int slot, rfs_label_list_t* out) {
    if (slot < 0 || slot >= registry().maxRecChannels || slot >= kLabelSlots)
        return kBadSlot;
    if (out == nullptr) {
        message("label output null\n");
        return -1;
    }
    auto& list = labelResults()[slot];
    out->list = list.empty() ? nullptr : list.data();
    out->count = static_cast<int>(list.size());
    return 0;
}

int32_t findLabelStop() {
    for (auto& slot : labelResults()) {
        slot.clear();
        slot.shrink_to_fit();
    }
    return 0;
}

int32_t runLabelMonthSearch(const rfs_find_param_t& param, uint32_t days[31]) {
    std::fill(days, days + 31, 0u);
    const SearchRequest request(param);
    // Year and month are the packed time's bits above the day.
    const rfs::PackedTime month = request.from() >> 22;
    const rfs::PackedTime first = month << 22;
    const rfs::PackedTime last = ((month + 1) << 22) - 1;
    const bool read = visitLabels(first, last, [&](const rfs::label_info_t& entry) {
        if (entry.state != 1 || entry.time >> 22 != month || !request.channelSelected(entry.channel) ||
            nameOf(entry).empty())
            return;
        const int day = rfs::unpackTime(entry.time).day;
        if (day >= 1 && day <= 31)
            days[day - 1] = 1;
    });
    return read ? 0 : -1;
}

}  // namespace kvrfs
