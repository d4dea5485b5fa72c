#include "rfssim/LabelArea.h"

#include <cstring>

#include "rfs/LabelRecords.h"

namespace rfssim {
namespace {

constexpr uint32_t kLabelsPerBlock = rfs::kMaxLabels / 2;

rfs::label_info_t entryOf(const ScenarioLabel& label, uint32_t number) {
    rfs::label_info_t entry{};
    entry.magic = rfs::kLabelMagic;
    entry.number = number;
    entry.time = rfs::packTime(label.time);
    entry.value = label.value;
    entry.channel = static_cast<uint8_t>(label.channel - 1);
    entry.state = label.deleted ? 2 : 1;
    std::memcpy(entry.name, label.name.data(), label.name.size());
    return entry;
}

}  // namespace

std::vector<uint8_t> labelArea(const Scenario& scenario) {
    const auto count = static_cast<uint32_t>(scenario.labelList.size());
    rfs::label_head_t head{};
    head.magic = rfs::kLabelHeadMagic;
    std::vector<uint8_t> bytes(rfs::kLabelEntriesOffset + (count + 1) * sizeof(rfs::label_info_t));
    for (uint32_t n = 0; n < count; ++n) {
        const rfs::label_info_t entry = entryOf(scenario.labelList[n], n);
        std::memcpy(bytes.data() + rfs::kLabelEntriesOffset + n * sizeof entry, &entry, sizeof entry);
        if (entry.state != 1)
            continue;
        const uint32_t block = n / kLabelsPerBlock;
        if (head.earliest[block] == 0 || entry.time < head.earliest[block])
            head.earliest[block] = entry.time;
        if (entry.time > head.latest[block])
            head.latest[block] = entry.time;
    }
    rfs::label_info_t end{};
    end.magic = rfs::kLabelEndMagic;
    end.number = count;
    std::memcpy(bytes.data() + rfs::kLabelEntriesOffset + count * sizeof end, &end, sizeof end);

    head.next_label = count;
    head.label_count = count;
    if (scenario.labelWriteFlag) {
        // The recorder stopped in the middle of a change: the head is flagged and still shows an empty area.
        head = rfs::label_head_t{};
        head.magic = rfs::kLabelHeadMagic;
        head.write_flag = 1;
    }
    std::memcpy(bytes.data(), &head, sizeof head);
    return bytes;
}

}  // namespace rfssim
