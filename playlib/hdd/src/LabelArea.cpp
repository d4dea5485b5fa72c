#include "LabelArea.h"

namespace kvrfs {

bool hasLabelArea(AccessMode mode, const rfs::disk_param_t& param) {
    return param.label_offset != 0 || mode == AccessMode::Directory;
}

LabelArea::LabelArea(AccessMode mode, const std::string& storePath, const rfs::disk_param_t& param, OpenFor access)
    : file_(StoreFile::openLabelArea(mode, storePath, access)),
      mode_(mode),
      base_(mode == AccessMode::Raw ? param.label_offset : 0) {}

bool LabelArea::readHead(rfs::label_head_t& head) const {
    return file_.readAt(&head, base_, sizeof head) == static_cast<int64_t>(sizeof head);
}

bool LabelArea::writeHead(const rfs::label_head_t& head) const {
    return write(&head, base_, sizeof head);
}

bool LabelArea::readBlock(int block, std::vector<rfs::label_info_t>& entries) const {
    if (block < 0 || block > 1)
        return false;
    entries.resize(kLabelsPerBlock);
    return file_.readAt(entries.data(), entryOffset(block * kLabelsPerBlock), kLabelBlockBytes) ==
           static_cast<int64_t>(kLabelBlockBytes);
}

bool LabelArea::readEntry(uint32_t number, rfs::label_info_t& entry) const {
    return number < rfs::kMaxLabels &&
           file_.readAt(&entry, entryOffset(number), sizeof entry) == static_cast<int64_t>(sizeof entry);
}

bool LabelArea::writeEntries(uint32_t number, const rfs::label_info_t* entries, uint32_t count) const {
    if (number >= rfs::kMaxLabels || count > rfs::kMaxLabels - number)
        return false;
    return write(entries, entryOffset(number), count * sizeof(rfs::label_info_t));
}

bool LabelArea::writeName(uint32_t number, const char (&name)[sizeof(rfs::label_info_t::name)]) const {
    return number < rfs::kMaxLabels && write(name, entryOffset(number) + offsetof(rfs::label_info_t, name), sizeof name);
}

bool LabelArea::write(const void* data, uint64_t offset, std::size_t length) const {
    if (file_.writeAt(data, offset, length) != static_cast<int64_t>(length))
        return false;
    return mode_ == AccessMode::Raw || file_.commit();
}

}  // namespace kvrfs
