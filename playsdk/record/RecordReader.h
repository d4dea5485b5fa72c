// What CKVMP4RecordFile needs of a reader, whichever way the file is read.
#pragma once

#include <cstdint>

namespace kvplay::record {

class RecordReader {
public:
    virtual ~RecordReader() = default;
    // One frame record into buffer; length in: buffer size, out: record length. 0 or -1.
    virtual int readFrame(uint8_t* buffer, int& length) = 0;
    virtual int seekToTime(int64_t timeUs) = 0;
    virtual int timeRange(int64_t& firstUs, int64_t& lastUs) = 0;
    virtual int keyFrameCount() const = 0;
    virtual int seekToKeyFrame(int index) = 0;
};

}  // namespace kvplay::record
