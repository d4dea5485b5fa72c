#include "CKVMP4RecordFile.h"

#include "Mp4DemuxReader.h"
#include "Mp4FileReader.h"

namespace kvplay::record {

CKVMP4RecordFile::~CKVMP4RecordFile() {
    try {
        Close();
    } catch (...) {
        // Out of memory while finalising: the file stays unfinished, the object still goes.
    }
}

int CKVMP4RecordFile::Open(const char* pathUtf8, bool readMode, int, int, bool writeMode, const uint8_t*) {
    if (pathUtf8 == nullptr || readMode == writeMode)
        return -1;
    Close();
    if (readMode) {
        auto own = std::make_unique<Mp4FileReader>();
        const int result = own->open(pathUtf8);
        if (result == 0) {
            reader_ = std::move(own);
            return 0;
        }
        // Not one of ours (no frame header table, fragmented, other layouts): FFmpeg reads it.
        if (result != -1 && result != Mp4FileReader::kNoTable)
            return result;
        auto demuxer = std::make_unique<Mp4DemuxReader>();
        if (demuxer->open(pathUtf8) != 0)
            return result;
        reader_ = std::move(demuxer);
        return 0;
    }
    auto writer = std::make_unique<Mp4FileWriter>();
    if (!writer->open(pathUtf8))
        return -1;
    writer_ = std::move(writer);
    return 0;
}

int CKVMP4RecordFile::Close() {
    reader_.reset();
    releaseWorkBuffer();
    if (!writer_)
        return 0;
    firstUs_ = static_cast<int64_t>(writer_->firstTime());
    lastUs_ = static_cast<int64_t>(writer_->lastTime());
    const bool ok = writer_->finalise();
    writer_.reset();
    return ok ? 0 : -1;
}

int CKVMP4RecordFile::ReadFrame(uint8_t* buffer, int& length) {
    return reader_ ? reader_->readFrame(buffer, length) : -1;
}

int CKVMP4RecordFile::WriteFrame(const uint8_t* frame, int& length) {
    if (!writer_ || frame == nullptr || length < 0)
        return -1;
    return writer_->writeFrame({frame, static_cast<std::size_t>(length)});
}

int CKVMP4RecordFile::SeekToTime(int64_t timeUs) { return reader_ ? reader_->seekToTime(timeUs) : -1; }

int CKVMP4RecordFile::GetTimeRange(int64_t& firstUs, int64_t& lastUs) {
    if (reader_)
        return reader_->timeRange(firstUs, lastUs);
    if (writer_) {
        firstUs_ = static_cast<int64_t>(writer_->firstTime());
        lastUs_ = static_cast<int64_t>(writer_->lastTime());
    }
    firstUs = firstUs_;
    lastUs = lastUs_;
    return 0;
}

// A file being written has no key frame index to offer.
int CKVMP4RecordFile::KeyFrameCount() { return reader_ ? reader_->keyFrameCount() : 0; }
int CKVMP4RecordFile::SeekToKeyFrame(int index) { return reader_ ? reader_->seekToKeyFrame(index) : 0; }

}  // namespace kvplay::record
