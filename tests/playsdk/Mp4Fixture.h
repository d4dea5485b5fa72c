// Writes frame records into an MP4 file in a temporary folder and keeps the source streams beside it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "CKVMP4RecordFile.h"
#include "FrameRecords.h"
#include "Mp4Probe.h"
#include "TempDir.h"
#include "rfssim/AlawTone.h"

// Every frame record a record file opened for reading gives back.
inline std::vector<std::vector<uint8_t>> readAllRecords(kvplay::record::CBaseRecordFile& file) {
    std::vector<std::vector<uint8_t>> records;
    std::vector<uint8_t> buffer(1 << 20);
    for (;;) {
        int length = static_cast<int>(buffer.size());
        if (file.ReadFrame(buffer.data(), length) != 0)
            break;
        records.emplace_back(buffer.begin(), buffer.begin() + length);
    }
    return records;
}

class Mp4Fixture : public ::testing::Test {
protected:
    std::filesystem::path writeMp4(const std::vector<std::vector<uint8_t>>& records, const char* name = "out.mp4") {
        const auto path = dir.path() / name;
        kvplay::record::CKVMP4RecordFile file;
        EXPECT_EQ(file.Open(path.c_str(), false, 0, 0, true, nullptr), 0);
        for (const auto& record : records) {
            int length = static_cast<int>(record.size());
            EXPECT_EQ(file.WriteFrame(record.data(), length), 0);
        }
        EXPECT_EQ(file.Close(), 0);
        return path;
    }

    // Video records with capture times kStartUs + offsetsUs[i]; the Annex B stream is kept as source.
    std::vector<std::vector<uint8_t>> videoRecords(rfssim::VideoCodecKind kind, uint8_t codec,
                                                   const std::vector<int64_t>& offsetsUs, int gop) {
        const auto encoded = encodeVideo(kind, static_cast<int>(offsetsUs.size()), gop);
        std::vector<std::vector<uint8_t>> records;
        std::vector<uint8_t> stream;
        for (std::size_t i = 0; i < encoded.size(); ++i) {
            records.push_back(videoRecord(codec, encoded[i].keyFrame, static_cast<uint32_t>(i),
                                          kStartUs + offsetsUs[i], 160, 96, encoded[i].bytes));
            stream.insert(stream.end(), encoded[i].bytes.begin(), encoded[i].bytes.end());
        }
        sourceStream = dir.path() / (kind == rfssim::VideoCodecKind::H264 ? "source.h264" : "source.hevc");
        writeFile(sourceStream, stream);
        return records;
    }

    static std::vector<int64_t> evenTimes(int frames, int64_t stepUs = kFrameUs) {
        std::vector<int64_t> times;
        for (int i = 0; i < frames; ++i)
            times.push_back(i * stepUs);
        return times;
    }

    // 40 ms A-law frames from the simulator's tone, appended after the video frame of the same time.
    static std::vector<std::vector<uint8_t>> withAlaw(const std::vector<std::vector<uint8_t>>& video) {
        std::vector<std::vector<uint8_t>> records;
        for (std::size_t i = 0; i < video.size(); ++i) {
            records.push_back(video[i]);
            const uint64_t time = rfs::readFrameHeader(video[i].data()).Time;
            const auto block = rfssim::alawToneBlock(1, rfssim::sampleNumberAt(static_cast<int64_t>(time)));
            records.push_back(audioRecord(rfs::CodecG711A, static_cast<uint32_t>(i), time, 8000, block));
        }
        return records;
    }

    TempDir dir;
    std::filesystem::path sourceStream;
};
