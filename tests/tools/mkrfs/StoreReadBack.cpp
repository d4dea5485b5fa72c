#include "StoreReadBack.h"

#include <cstring>
#include <fstream>
#include <stdexcept>

#include "rfs/LabelRecords.h"

namespace fs = std::filesystem;
using rfssim::StoreKind;
using rfssim::StoreLayout;

std::vector<uint8_t> readBytes(const fs::path& file, uint64_t offset, std::size_t length) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::vector<uint8_t> bytes(length);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(length)))
        throw std::runtime_error("cannot read " + std::to_string(length) + " bytes at " + std::to_string(offset) +
                                 " of " + file.string());
    return bytes;
}

uint32_t fileRecordLength(StoreKind kind) {
    return kind == StoreKind::SdCard ? sizeof(rfs::index_file_info_sd) : sizeof(rfs::index_file_info);
}

uint32_t keyFrameEntryLength(StoreKind kind) {
    return kind == StoreKind::SdCard ? sizeof(rfs::iframe_info_sd_t) : sizeof(rfs::iframe_info_t);
}

WrittenStore::WrittenStore(fs::path path, StoreLayout layout) : path_(std::move(path)), layout_(layout) {
    param_ = recordAt<rfs::disk_param_t>(readBytes(indexFile(0), rfs::kDiskParamOffset, sizeof param_), 0);
}

fs::path WrittenStore::indexFile(int copy) const {
    return layout_ == StoreLayout::Directory ? path_ / ("index" + std::to_string(copy)) : path_;
}

fs::path WrittenStore::dataFilePath(uint32_t index) const {
    return layout_ == StoreLayout::Directory ? path_ / ("file" + std::to_string(index)) : path_;
}

std::vector<uint8_t> WrittenStore::indexArea(int partition, int copy) const {
    const uint64_t offset =
        layout_ == StoreLayout::Directory ? param_.part_start[0] : rfs::indexCopyOffset(param_, partition, copy);
    return readBytes(indexFile(copy), offset, param_.index_size);
}

rfs::part_info_t WrittenStore::partInfo(int partition) const {
    return recordAt<rfs::part_info_t>(indexArea(partition, 0), 0);
}

StoreKind WrittenStore::kind() const {
    return param_.version_lo == rfs::kSdVersionLo ? StoreKind::SdCard : StoreKind::HardDisk;
}

std::vector<uint8_t> WrittenStore::fileRecordBytes(int partition, uint32_t index) const {
    const std::vector<uint8_t> area = indexArea(partition, 0);
    const uint32_t size = fileRecordLength(kind());
    const auto record = area.begin() + param_.file_table_offset + index * size;
    return std::vector<uint8_t>(record, record + size);
}

rfs::index_file_info WrittenStore::fileRecord(int partition, uint32_t index) const {
    return recordAt<rfs::index_file_info>(fileRecordBytes(partition, index), 0);
}

std::vector<rfs::index_event_info> WrittenStore::eventSlots(int partition, uint32_t index) const {
    const std::vector<uint8_t> area = indexArea(partition, 0);
    const uint32_t perFile = rfs::eventsPerFile(param_.dataFileSize);
    const uint64_t block = rfs::eventBlockOffset(param_.event_table_offset, index, perFile);
    std::vector<rfs::index_event_info> slots;
    for (uint32_t e = 0; e < perFile; ++e)
        slots.push_back(recordAt<rfs::index_event_info>(area, block + e * sizeof(rfs::index_event_info)));
    return slots;
}

std::vector<rfs::index_event_info> WrittenStore::events(int partition, uint32_t index) const {
    std::vector<rfs::index_event_info> slots = eventSlots(partition, index);
    slots.resize(fileRecord(partition, index).event_nr);
    return slots;
}

DataFileReader WrittenStore::dataFile(int partition, uint32_t index) const {
    const fs::path file = dataFilePath(index);
    const uint64_t base = layout_ == StoreLayout::Directory ? 0 : rfs::dataFileOffset(param_, partition, index);
    return [file, base](uint64_t offset, std::size_t length) { return readBytes(file, base + offset, length); };
}

std::vector<uint8_t> WrittenStore::labelArea(std::size_t length) const {
    return layout_ == StoreLayout::Directory ? readBytes(path_ / "label0", 0, length)
                                             : readBytes(path_, param_.label_offset, length);
}
