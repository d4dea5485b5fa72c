// The frame source over a store reader: owns a search handle and a read handle, cuts frame records out
// of what the reader delivers, and walks to the neighbouring events of the channel.
#pragma once

#include "FrameBuffer.h"
#include "RfsFrameInterface.h"
#include "StoreReader.h"

namespace tarn {

enum FrameProc {
    FrameProc_none = 0,
    FrameProc_opened = 1,
    FrameProc_reading = 2,
    FrameProc_ended = 3,
    FrameProc_failed = 4
};

class ReaderFrameSource : public RfsFrameInterface {
public:
    explicit ReaderFrameSource(const StoreReader& reader) : mReader(reader) {}
    ReaderFrameSource(const ReaderFrameSource&) = delete;
    ReaderFrameSource& operator=(const ReaderFrameSource&) = delete;

    int openEvent(const rfs_event_t* event, const FrameSourceTime* start, const FrameSourceTime* end) override;
    int openChannel(const FrameSourceParams& params) override;
    int getNextFrame(const uint8_t** payload, const rfs::KVFrameHeader** header) override;
    int seek(const FrameSourceTime& time) override;
    void setDirection(int n) override;

protected:
    ~ReaderFrameSource() override;

private:

    void close();
    int pickEvent(const FrameSourceParams& params);
    int seekTo(const rfs_time_t& time);
    int cutRecord(const uint8_t** payload, const rfs::KVFrameHeader** header);
    int fill(int completing);
    int readKeyFrame(int* skip);
    int walkToNeighbour();
    int nextPicture();
    bool isDuplicate(const rfs::KVFrameHeader& h) const;

    const StoreReader& mReader;
    int mSearch = -1;
    int mFd = -1;
    int mChn = -1;
    rfs_time_t mRangeStart{};
    rfs_time_t mRangeEnd{};
    int mDirection = 0;
    int mFileType = 0;
    rfs_event_t mCurEvent{};
    rfs::KVFrameHeader mFrameHead{};
    FrameProc mRunProc = FrameProc_none;
    bool mAtSeekPoint = false;
    // The first record read at a seek point is the key frame the reader chose, or the reference I-frame
    // of a virtual one, which is older than the seek time: it is exempt from the duplicate check.
    bool mAtSeekPointRecord = false;
    FrameBuffer mBuffer;
    bool mPictureMode = false;
};

}  // namespace tarn
