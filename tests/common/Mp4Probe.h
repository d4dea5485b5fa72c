// ffprobe and ffmpeg as the independent judges of the files we write.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "RunCommand.h"

inline std::string ffprobe() { return FFPROBE_PATH; }
inline std::string ffmpeg() { return FFMPEG_PATH; }

// Streams and format of a file, as ffprobe reads them; fails the test on any message.
inline nlohmann::json probe(const std::filesystem::path& file) {
    const auto result = runCommand(ffprobe() + " -v warning -show_streams -show_format -of json " + quoted(file));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
    return nlohmann::json::parse(result.out, nullptr, false);
}

struct PacketInfo {
    double pts = 0;
    double duration = 0;
    bool key = false;
    uint64_t position = 0;
    uint64_t size = 0;
};

// The packets of one stream ("v" or "a"); extra goes before the input, e.g. -read_intervals.
inline std::vector<PacketInfo> packets(const std::filesystem::path& file, const std::string& stream,
                                       const std::string& extra = "") {
    const auto result = runCommand(ffprobe() + " -v warning -select_streams " + stream + " " + extra +
                                   " -show_entries packet=pts_time,duration_time,flags,pos,size -of json " +
                                   quoted(file));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
    std::vector<PacketInfo> list;
    const auto json = nlohmann::json::parse(result.out, nullptr, false);
    for (const auto& packet : json.value("packets", nlohmann::json::array()))
        list.push_back({std::stod(packet.value("pts_time", "0")), std::stod(packet.value("duration_time", "0")),
                        packet.value("flags", "").find('K') != std::string::npos,
                        std::stoull(packet.value("pos", "0")), std::stoull(packet.value("size", "0"))});
    return list;
}

// MP4 sound entries carry a channel count but no layout; without this ffmpeg announces its guess.
constexpr const char* kNoLayoutGuess = " -guess_layout_max 0 ";

// Raw elementary streams have no index, and ffmpeg warns that it estimates their duration: they
// are read at this level, the files we write at "warning".
constexpr const char* kRawSource = "error";

// The checksums of the decoded frames of one stream, without their timestamps; decoding must
// report nothing at the given level.
inline std::vector<std::string> frameChecksums(const std::string& input, const std::string& stream,
                                               const std::string& level = "warning") {
    const auto result = runCommand(ffmpeg() + " -v " + level + " -nostdin" + kNoLayoutGuess + input + " -map 0:" +
                                   stream + " -f framemd5 -");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
    std::vector<std::string> sums;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] != '#')
            sums.push_back(line.substr(line.rfind(',') + 1));
    return sums;
}

// Raw bytes produced by an ffmpeg command line writing to standard output.
inline std::string ffmpegOutput(const std::string& arguments, const std::string& level = "warning") {
    const auto result = runCommand(ffmpeg() + " -v " + level + " -nostdin" + kNoLayoutGuess + arguments);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
    return result.out;
}

inline void writeFile(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
