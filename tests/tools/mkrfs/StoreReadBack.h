// Reads a written store back by the format's rules alone, without any of the writer's code.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <vector>

#include "rfs/DiskParam.h"
#include "rfs/IndexRecords.h"
#include "rfssim/Scenario.h"

// Reads a range of one data file.
using DataFileReader = std::function<std::vector<uint8_t>(uint64_t offset, std::size_t length)>;

std::vector<uint8_t> readBytes(const std::filesystem::path& file, uint64_t offset, std::size_t length);

template <typename Record>
Record recordAt(const std::vector<uint8_t>& bytes, uint64_t offset) {
    Record record{};
    if (offset + sizeof record > bytes.size())
        throw std::out_of_range("record beyond the bytes read");
    std::memcpy(&record, bytes.data() + offset, sizeof record);
    return record;
}

// Sizes of the records that differ on an SD card.
uint32_t fileRecordLength(rfssim::StoreKind kind);     // 112, or 120 on an SD card
uint32_t keyFrameEntryLength(rfssim::StoreKind kind);  // 32, or 16 on an SD card

class WrittenStore {
public:
    WrittenStore(std::filesystem::path path, rfssim::StoreLayout layout);

    rfs::disk_param_t param() const { return param_; }
    // An SD card's store says so by its version.
    rfssim::StoreKind kind() const;
    std::filesystem::path indexFile(int copy) const;
    std::filesystem::path dataFilePath(uint32_t index) const;

    std::vector<uint8_t> indexArea(int partition, int copy) const;  // index_size bytes
    rfs::part_info_t partInfo(int partition) const;
    std::vector<uint8_t> fileRecordBytes(int partition, uint32_t index) const;  // as long as the kind's records
    rfs::index_file_info fileRecord(int partition, uint32_t index) const;
    // All event slots of the file's block, used or not.
    std::vector<rfs::index_event_info> eventSlots(int partition, uint32_t index) const;
    std::vector<rfs::index_event_info> events(int partition, uint32_t index) const;
    DataFileReader dataFile(int partition, uint32_t index) const;
    std::vector<uint8_t> labelArea(std::size_t length) const;

private:
    std::filesystem::path path_;
    rfssim::StoreLayout layout_;
    rfs::disk_param_t param_{};
};
