// The image being built: an open file written with pwrite, sized with ftruncate so that every range
// never written stays a hole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace storebench {

class ImageFile {
public:
    // Creates (or empties) the file and gives it `size` bytes of holes. Throws on failure.
    ImageFile(const std::filesystem::path& path, uint64_t size);
    ~ImageFile();
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    void writeAt(uint64_t offset, const void* bytes, std::size_t length) const;

    template <typename Record>
    void write(uint64_t offset, const Record& record) const {
        writeAt(offset, &record, sizeof record);
    }
    template <typename Record>
    void write(uint64_t offset, const std::vector<Record>& records) const {
        writeAt(offset, records.data(), records.size() * sizeof(Record));
    }

private:
    std::filesystem::path path_;
    int fd_ = -1;
};

}  // namespace storebench
