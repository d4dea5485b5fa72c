// Reads and patches fixed-size records inside store files, to damage or inspect a test store.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>

template <typename Record>
Record readRecord(const std::filesystem::path& file, uint64_t offset) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    Record record{};
    if (!in.read(reinterpret_cast<char*>(&record), sizeof record))
        throw std::runtime_error("cannot read a record from " + file.string());
    return record;
}

template <typename Record>
void writeRecord(const std::filesystem::path& file, uint64_t offset, const Record& record) {
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(offset));
    if (!out.write(reinterpret_cast<const char*>(&record), sizeof record))
        throw std::runtime_error("cannot write a record to " + file.string());
}
