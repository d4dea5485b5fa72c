// Finds boxes in an MP4 file by their path, reading only headers and the box asked for, so the
// structure of huge files can be checked too. Independent of the writer's own code.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

struct BoxLocation {
    uint64_t offset = 0;
    uint64_t size = 0;
    uint32_t headerSize = 8;
    bool largeSize = false;
};

inline uint64_t bigEndian(const uint8_t* p, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | p[i];
    return value;
}

// The first box along path (e.g. {"moov", "trak", "mdia"}); trak chooses the track by index.
inline std::optional<BoxLocation> findBox(const std::filesystem::path& file, const std::vector<std::string>& path,
                                          int trackIndex = 0) {
    std::ifstream in(file, std::ios::binary);
    uint64_t begin = 0;
    uint64_t end = std::filesystem::file_size(file);
    for (std::size_t level = 0; level < path.size(); ++level) {
        int tracksSeen = 0;
        std::optional<BoxLocation> found;
        for (uint64_t at = begin; at + 8 <= end && !found;) {
            uint8_t header[16] = {};
            in.seekg(static_cast<std::streamoff>(at));
            in.read(reinterpret_cast<char*>(header), 16);
            BoxLocation box{at, bigEndian(header, 4), 8, false};
            if (box.size == 1) {
                box.size = bigEndian(header + 8, 8);
                box.headerSize = 16;
                box.largeSize = true;
            }
            if (box.size < box.headerSize || at + box.size > end)
                return std::nullopt;
            const std::string type(reinterpret_cast<const char*>(header + 4), 4);
            if (type == path[level] && (type != "trak" || tracksSeen++ == trackIndex))
                found = box;
            at += box.size;
        }
        if (!found)
            return std::nullopt;
        if (level + 1 < path.size()) {
            // Sample descriptions hold a version, flags and an entry count before their boxes.
            const uint64_t skip = path[level] == "stsd" ? 8 : 0;
            begin = found->offset + found->headerSize + skip;
            end = found->offset + found->size;
        } else {
            return found;
        }
    }
    return std::nullopt;
}

inline std::vector<uint8_t> boxBody(const std::filesystem::path& file, const BoxLocation& box) {
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> body(box.size - box.headerSize);
    in.seekg(static_cast<std::streamoff>(box.offset + box.headerSize));
    in.read(reinterpret_cast<char*>(body.data()), static_cast<std::streamsize>(body.size()));
    return body;
}
