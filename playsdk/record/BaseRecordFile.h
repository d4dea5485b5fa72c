// The record file writer/reader interface that every file format implements.
#pragma once

#include <cstdint>

namespace kvplay::record {

class CBaseRecordFile {
public:
    virtual ~CBaseRecordFile() = default;

    // backInfo: an optional 512-byte block of caller data. 0 or a negative result.
    virtual int Open(const char* pathUtf8, bool readMode, int, int, bool writeMode, const uint8_t* backInfo) = 0;
    virtual int Close() = 0;
    // Reads one frame record into buffer; length in: buffer size, out: record length.
    virtual int ReadFrame(uint8_t* buffer, int& length) { (void)buffer, (void)length; return -1; }
    // Writes one frame record of length bytes.
    virtual int WriteFrame(const uint8_t* frame, int& length) { (void)frame, (void)length; return -1; }
    virtual int SeekToTime(int64_t timeUs) { (void)timeUs; return -1; }
    virtual int GetTimeRange(int64_t& firstUs, int64_t& lastUs) { (void)firstUs, (void)lastUs; return -1; }
    virtual int KeyFrameCount() { return -1; }
    virtual int SeekToKeyFrame(int index) { (void)index; return -1; }
};

}  // namespace kvplay::record
