#include "StoredFrames.h"

#include <fstream>

std::vector<StoredFrame> readStoredFrames(const std::filesystem::path& file, uint64_t dataStart, uint64_t dataLen) {
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes(dataLen);
    in.seekg(static_cast<std::streamoff>(dataStart));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    std::vector<StoredFrame> frames;
    for (std::size_t p = 0; p + rfs::kFrameHeaderSize <= bytes.size();) {
        const rfs::KVFrameHeader h = rfs::readFrameHeader(bytes.data() + p);
        const uint64_t length = rfs::storedFrameLength(h.framesize);
        if (!rfs::isFrameHeader(h) || p + length > bytes.size()) {
            p += 8;
            continue;
        }
        const uint8_t* payload = bytes.data() + p + rfs::kFrameHeaderSize;
        frames.push_back({dataStart + p, length, h, std::vector<uint8_t>(payload, payload + h.framesize)});
        p += length;
    }
    return frames;
}
