// The record file interface that every file format implements, and the state all formats share.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kvplay::record {

class CBaseRecordFile {
public:
    // A writer's answer for a frame it accepted when the recorder's calendar day changed with it.
    static constexpr int kDayChanged = 2;
    // Room for a normalised frame record of 2 MiB of payload and its header; larger records get more.
    static constexpr std::size_t kWorkBufferSize = 0x200028;

    virtual ~CBaseRecordFile() = default;

    // backInfo: an optional 512-byte block of caller data. 0 or a negative result.
    virtual int Open(const char* pathUtf8, bool readMode, int, int, bool writeMode, const uint8_t* backInfo) = 0;
    virtual int Close() = 0;
    // Reads one frame record into buffer; length in: buffer size, out: record length.
    virtual int ReadFrame(uint8_t* buffer, int& length) { (void)buffer, (void)length; return -1; }
    // Writes one frame record of length bytes: 0, kDayChanged, or a failure.
    virtual int WriteFrame(const uint8_t* frame, int& length) { (void)frame, (void)length; return -1; }
    virtual int SeekToTime(int64_t timeUs) { (void)timeUs; return -1; }
    virtual int GetTimeRange(int64_t& firstUs, int64_t& lastUs) { (void)firstUs, (void)lastUs; return -1; }
    virtual int KeyFrameCount() { return -1; }
    virtual int SeekToKeyFrame(int index) { (void)index; return -1; }

    // Where frames are normalised before writing: at least `size` bytes, kept until the file is closed.
    // Empty when the memory cannot be had.
    std::span<uint8_t> workBuffer(std::size_t size);

protected:
    void releaseWorkBuffer();

private:
    std::vector<uint8_t> workBuffer_;
};

}  // namespace kvplay::record
