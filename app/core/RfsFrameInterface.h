// A frame source: one channel of an attached store as a stream of whole frame records, for one
// consumer (a playback window or an export). Used by one thread at a time.
#pragma once

#include <cstdint>
#include <memory>

#include "FrameTime.h"
#include "rfs/FrameRecord.h"
#include "rfs/rfs_types.h"

namespace tarn {

struct FrameSourceParams {
    int channel = 0;          // 0..128
    int recordTypeMask = -1;  // -1 for all
    int stream = 0;           // non-zero: the channel's second stream
    FrameSourceTime start;    // full year
    FrameSourceTime end;      // full year
    uint8_t pictureMode = 0;  // non-zero: pictures instead of recordings
    int recordId = 0;         // with eventIndex, both above 0: play only that event
    int eventIndex = 0;
};

class RfsFrameInterface {
public:
    // Plays one listed event; start and end (year - 2000) narrow it, null takes the event's own.
    virtual int openEvent(const rfs_event_t* event, const FrameSourceTime* start, const FrameSourceTime* end) = 0;
    virtual int openChannel(const FrameSourceParams& params) = 0;
    // 0 with both pointers into the source's buffer, valid until the next call; 0 with both null at the
    // normal end; negative on failure.
    virtual int getNextFrame(const uint8_t** payload, const rfs::KVFrameHeader** header) = 0;
    virtual int seek(const FrameSourceTime& time) = 0;  // full year
    // 0 normal reading; n > 0 forward key-frame stepping by n; n < 0 backward by -n.
    virtual void setDirection(int n) = 0;
    void release() { delete this; }

protected:
    virtual ~RfsFrameInterface() = default;
};

struct FrameSourceRelease {
    void operator()(RfsFrameInterface* source) const { source->release(); }
};
using FrameSourcePtr = std::unique_ptr<RfsFrameInterface, FrameSourceRelease>;

// The frame source over the hard-disk and folder store reader, and the one over the SD card reader.
FrameSourcePtr createHddFrameSource();
FrameSourcePtr createSdFrameSource();

}  // namespace tarn
