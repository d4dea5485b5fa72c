// MP4 record files: written from frame records, and read back as frame records: our own files
// through their frame header table, others (fragmented ones included) through FFmpeg's demuxer.
#pragma once

#include <memory>

#include "CBaseRecordFile.h"
#include "Mp4FileWriter.h"
#include "RecordReader.h"

namespace kvplay::record {

class CKVMP4RecordFile : public CBaseRecordFile {
public:
    ~CKVMP4RecordFile() override;

    int Open(const char* pathUtf8, bool readMode, int, int, bool writeMode, const uint8_t* backInfo) override;
    int Close() override;
    int ReadFrame(uint8_t* buffer, int& length) override;
    int WriteFrame(const uint8_t* frame, int& length) override;
    int SeekToTime(int64_t timeUs) override;
    int GetTimeRange(int64_t& firstUs, int64_t& lastUs) override;
    int KeyFrameCount() override;
    int SeekToKeyFrame(int index) override;

private:
    std::unique_ptr<Mp4FileWriter> writer_;
    std::unique_ptr<RecordReader> reader_;
    int64_t firstUs_ = 0;
    int64_t lastUs_ = 0;
};

}  // namespace kvplay::record
