#include "LabelEdit.h"

#include <array>
#include <cstring>

#include "LabelArea.h"
#include "MessageLine.h"

namespace kvrfs {
namespace {

constexpr std::size_t kMaxNameLength = sizeof(rfs::label_info_t::name) - 1;
using NameField = char[sizeof(rfs::label_info_t::name)];

bool nameFits(const char* name) {
    return name != nullptr && strnlen(name, kMaxNameLength + 1) <= kMaxNameLength;
}

void copyName(NameField& field, const char* name) {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, name, std::strlen(name));
}

DiskRecord* firstAttachedDisk() {
    for (auto& disk : registry().disks)
        if (disk)
            return disk.get();
    return nullptr;
}

DiskRecord* attachedDisk(int id) {
    return id >= 0 && id < kMaxDisks ? registry().disks[id].get() : nullptr;
}

bool labelAreaMissing(const DiskRecord& disk) {
    if (hasLabelArea(registry().mode(), disk.param))
        return false;
    message("HDD not formart to support label!!!\n");
    return true;
}

LabelArea openForWriting(const DiskRecord& disk) {
    LabelArea area(registry().mode(), disk.path, disk.param, OpenFor::ReadWrite);
    if (!area.isOpen())
        message("open hdd failed\n");
    return area;
}

// The slot must hold the label the caller names: a number out of range or a slot holding something
// else would change another label or the area's bookkeeping.
bool holdsLabel(const rfs::label_info_t& entry, int32_t number) {
    return entry.magic == rfs::kLabelMagic && entry.number == static_cast<uint32_t>(number);
}

bool validNumber(int32_t number) {
    if (number >= 0 && static_cast<uint32_t>(number) < rfs::kMaxLabels)
        return true;
    message("label number %d is out of range\n", number);
    return false;
}

void widenRange(rfs::label_head_t& head, int block, rfs::PackedTime time) {
    if (head.earliest[block] == 0 || time < head.earliest[block])
        head.earliest[block] = time;
    if (time > head.latest[block])
        head.latest[block] = time;
}

int32_t addLabel(const rfs_label_request_t& request) {
    if (!nameFits(request.name)) {
        message("label name is NULL or name is too long\n");
        return -1;
    }
    DiskRecord* disk = firstAttachedDisk();
    if (disk == nullptr)
        return -1;
    if (labelAreaMissing(*disk))
        return kNoLabelArea;
    rfs::label_head_t head = disk->label_head;
    const uint32_t number = head.next_label >= rfs::kMaxLabels ? 0 : head.next_label;
    const rfs::PackedTime time = rfs::packTime(request.time);

    std::array<rfs::label_info_t, 2> entries{};
    rfs::label_info_t& label = entries[0];
    label.magic = rfs::kLabelMagic;
    label.number = number;
    label.disk_id = static_cast<uint32_t>(disk->disk_id) << 24;
    label.time = time;
    label.value = static_cast<uint16_t>(request.number);
    label.channel = request.chn;
    label.state = 1;
    copyName(label.name, request.name);
    entries[1].magic = rfs::kLabelEndMagic;
    entries[1].number = number + 1;

    const LabelArea area = openForWriting(*disk);
    if (!area.isOpen())
        return -1;
    head.write_flag = 1;
    if (!area.writeHead(head)) {
        message("set label write_flag err!\n");
        return -1;
    }
    disk->label_head.write_flag = 1;
    // The last entry has no room for an end marker behind it; the next label starts over at 0 anyway.
    const uint32_t count = number + 1 < rfs::kMaxLabels ? 2 : 1;
    message("==========write label:%d, offset:%lld\n", static_cast<int>(number),
            static_cast<long long>(rfs::kLabelEntriesOffset + uint64_t{number} * sizeof(rfs::label_info_t)));
    if (!area.writeEntries(number, entries.data(), count)) {
        message("update_label err!\n");
        return -1;
    }
    head.next_label = number + 1;
    if (head.label_count < rfs::kMaxLabels)
        ++head.label_count;
    widenRange(head, static_cast<int>(number / kLabelsPerBlock), time);
    disk->label_head = head;
    return static_cast<int32_t>(label.disk_id | number);
}

int32_t deleteLabel(const rfs_label_request_t& request) {
    DiskRecord* disk = attachedDisk(request.disk_id);
    if (disk == nullptr)
        return -1;
    if (labelAreaMissing(*disk))
        return kNoLabelArea;
    if (!validNumber(request.number))
        return -1;
    const LabelArea area = openForWriting(*disk);
    if (!area.isOpen())
        return -1;
    const int block = request.number / static_cast<int32_t>(kLabelsPerBlock);
    std::vector<rfs::label_info_t> entries;
    if (!area.readBlock(block, entries)) {
        message("read err!\n");
        return -1;
    }
    rfs::label_info_t& entry = entries[static_cast<uint32_t>(request.number) % kLabelsPerBlock];
    if (!holdsLabel(entry, request.number)) {
        message("label %d does not exist\n", request.number);
        return -1;
    }
    entry.state = 2;

    rfs::label_head_t head = disk->label_head;
    head.earliest[block] = 0;
    head.latest[block] = 0;
    for (const rfs::label_info_t& e : entries)
        if (e.magic == rfs::kLabelMagic && e.state == 1)
            widenRange(head, block, e.time);
    if (head.earliest[block] != disk->label_head.earliest[block] ||
        head.latest[block] != disk->label_head.latest[block]) {
        head.write_flag = 1;
        if (!area.writeHead(head)) {
            message("set_label_write_flag err!\n");
            return -1;
        }
        disk->label_head = head;
    }
    if (!area.writeEntries(static_cast<uint32_t>(request.number), &entry, 1)) {
        message("update_label err!\n");
        return -1;
    }
    return 0;
}

int32_t renameLabel(const rfs_label_request_t& request) {
    DiskRecord* disk = attachedDisk(request.disk_id);
    if (disk == nullptr)
        return -1;
    if (labelAreaMissing(*disk))
        return kNoLabelArea;
    if (!nameFits(request.name)) {
        message("label name too long!\n");
        return -1;
    }
    if (!validNumber(request.number))
        return -1;
    const LabelArea area = openForWriting(*disk);
    if (!area.isOpen())
        return -1;
    rfs::label_info_t entry{};
    if (!area.readEntry(static_cast<uint32_t>(request.number), entry) || !holdsLabel(entry, request.number)) {
        message("label %d does not exist\n", request.number);
        return -1;
    }
    NameField name;
    copyName(name, request.name);
    if (!area.writeName(static_cast<uint32_t>(request.number), name)) {
        message("write err!\n");
        return -1;
    }
    return 0;
}

}  // namespace

int32_t setLabel(int operation, const rfs_label_request_t* request) {
    if (request == nullptr)
        return -1;
    switch (operation) {
    case LabelAdd:
        return addLabel(*request);
    case LabelDelete:
        return deleteLabel(*request);
    case LabelRename:
        return renameLabel(*request);
    default:
        message("value of operate is invalid\n");
        return -1;
    }
}

}  // namespace kvrfs
