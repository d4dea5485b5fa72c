#include "ReaderFrameSource.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "FrameSourceLog.h"

namespace tarn {

namespace {

constexpr int kMaxChannel = 128;
constexpr int kSecondStreamBit = 128;
constexpr int kChannelBits = 256;
constexpr std::size_t kReadBufferSize = 1 << 20;
constexpr uint64_t kMaxRecordLength = 4 << 20;
// The record types a search may ask for: bits 5 and 11 are not event kinds.
constexpr int kSearchableTypes = 0x1f | 0x1f << 6 | 0x7f << 12;
constexpr int kNoEventListed = -20;
constexpr int kNoEventFound = -21;
constexpr int kNoNextEvent = -26;
constexpr int kNoPreviousEvent = -27;
constexpr int kFailed = -1;

std::size_t roundUpToBlock(uint64_t n) {
    return static_cast<std::size_t>((n + FrameBuffer::kBlock - 1) / FrameBuffer::kBlock * FrameBuffer::kBlock);
}

// Room for a record wherever its first byte lies in a block, and a block to read into behind it.
std::size_t roomFor(uint64_t recordLength) {
    return roundUpToBlock(recordLength) + 2 * FrameBuffer::kBlock;
}

int64_t frameSeconds(const rfs::KVFrameHeader& h) {
    return static_cast<int64_t>(h.Time / 1'000'000);
}

void logFrame(const rfs::KVFrameHeader& h) {
    const rfs::CalendarTime c = rfs::captureCalendarTime(h);
    frameSourceLog(
        "[chn%d]frametype=%c, headlen=%02d, framesize=%08u, frameLen:%llu, frameNo:%u, "
        "20%02d/%02d/%02d %02d:%02d:%02d\n",
        h.channel & 0x7f, h.frameType, static_cast<int>(rfs::kFrameHeaderSize), h.framesize,
        static_cast<unsigned long long>(rfs::storedFrameLength(h.framesize)), h.frameNo, c.year - 2000, c.month, c.day,
        c.hour, c.minute, c.second);
}

void logEventList(const StoreReader& reader, int search, int slot) {
    std::vector<rfs_event_t> list;
    if (reader.events(search, slot, list) != 0)
        return;
    frameSourceLog("=========chn:%d, eventNr:%d\n", slot, static_cast<int>(list.size()));
    for (std::size_t i = 0; i < std::min<std::size_t>(list.size(), 20); ++i) {
        const rfs_time_t& s = list[i].start;
        const rfs_time_t& e = list[i].end;
        frameSourceLog("event[%zu]time:%d/%d/%d_%d:%d:%d-%d/%d/%d_%d:%d:%d\n", i, s.year, s.month, s.day, s.hour,
                       s.minute, s.second, e.year, e.month, e.day, e.hour, e.minute, e.second);
    }
}

}  // namespace

ReaderFrameSource::~ReaderFrameSource() {
    close();
}

void ReaderFrameSource::close() {
    if (mSearch >= 0)
        mReader.findStop(mSearch);
    if (mFd >= 0)
        mReader.readStop(mFd);
    mSearch = -1;
    mFd = -1;
    mBuffer.release();
    mRunProc = FrameProc_none;
    mPictureMode = false;
}

int ReaderFrameSource::openEvent(const rfs_event_t* event, const FrameSourceTime* start, const FrameSourceTime* end) {
    if (event == nullptr)
        return kFailed;
    close();
    mCurEvent = *event;
    mFileType = 1;
    mRunProc = FrameProc_opened;
    mChn = event->chn;
    mRangeStart = start != nullptr ? toRfsTime(*start, YearField::SinceY2K) : event->start;
    mRangeEnd = end != nullptr ? toRfsTime(*end, YearField::SinceY2K) : event->end;
    mFrameHead.Time = toFrameTime(mRangeStart);
    return 0;
}

int ReaderFrameSource::openChannel(const FrameSourceParams& params) {
    mFileType = 0;
    const int bit = params.channel + (params.stream != 0 ? kSecondStreamBit : 0);
    if (params.channel < 0 || params.channel > kMaxChannel || bit >= kChannelBits)
        return kFailed;
    close();
    mRangeStart = toRfsTime(params.start, YearField::Full);
    mRangeEnd = toRfsTime(params.end, YearField::Full);
    mPictureMode = params.pictureMode != 0;

    std::array<uint8_t, kChannelBits / 8> channels{};
    channels[bit / 8] = static_cast<uint8_t>(1u << bit % 8);
    rfs_find_param_t find{};
    find.data_type = mPictureMode ? 1 : 0;
    find.search_type = 3;
    find.record_type = params.recordTypeMask == -1 ? -1 : params.recordTypeMask & kSearchableTypes;
    find.chnCnt = kChannelBits;
    find.chnBit = channels.data();
    find.start = mRangeStart;
    find.end = mRangeEnd;
    mChn = bit;

    const int search = mReader.findStart(find, nullptr);
    if (search < 0) {
        frameSourceLog("search event err\n");
        return kFailed;
    }
    if (!mPictureMode)
        logEventList(mReader, search, mChn);
    mSearch = search;
    mRunProc = FrameProc_opened;
    mFrameHead.Time = toFrameTime(mRangeStart);
    if (params.recordId > 0 && params.eventIndex > 0 && !mPictureMode)
        return pickEvent(params);
    return 0;
}

int ReaderFrameSource::pickEvent(const FrameSourceParams& params) {
    std::vector<rfs_event_t> list;
    if (mReader.events(mSearch, params.channel, list) != 0) {
        frameSourceLog("rfs get event failed\n");
        return kFailed;
    }
    for (const rfs_event_t& e : list) {
        if (e.record_id == static_cast<uint32_t>(params.recordId) &&
            (e.event_idx & 0xffff) == (params.eventIndex & 0xffff)) {
            mCurEvent = e;
            mFileType = 1;
            mChn = e.chn;
            mRangeStart = e.start;
            mRangeEnd = e.end;
            return 0;
        }
    }
    frameSourceLog("line:%d find event err\n", mReader.findEventLine());
    return kFailed;
}

int ReaderFrameSource::seek(const FrameSourceTime& time) {
    if (mPictureMode)
        return 0;
    const rfs_time_t t = toRfsTime(time, YearField::Full);
    mFrameHead.Time = toFrameTime(t);
    const int result = seekTo(t);
    return mRunProc == FrameProc_ended ? 0 : result;
}

void ReaderFrameSource::setDirection(int n) {
    mDirection = n;
    mBuffer.clear();
    mAtSeekPointRecord = false;
    // Stepping starts afresh at the last frame delivered.
    if (mRunProc == FrameProc_reading)
        mRunProc = FrameProc_opened;
}

int ReaderFrameSource::seekTo(const rfs_time_t& time) {
    frameSourceLog("%s,%d,mRunProc=%d, FrameProc_none=%d\n", mReader.sourceName(), __LINE__, mRunProc, FrameProc_none);
    if (mRunProc == FrameProc_none)
        return kFailed;
    mRunProc = FrameProc_opened;
    mBuffer.clear();
    mAtSeekPointRecord = false;
    mAtSeekPoint = true;
    frameSourceLog("=========%s,%d,seekTime:%d/%d/%d_%d:%d:%d\n", mReader.sourceName(), __LINE__, time.year, time.month,
                   time.day, time.hour, time.minute, time.second);
    if (compareTimes(time, mRangeEnd) > 0)
        return kFailed;
    if (mFd < 0) {
        const int fd = mReader.readStart(mCurEvent.chn);
        if (fd < 0)
            return kFailed;
        mFd = fd;
    }
    int result = 0;
    if (mFileType != 1) {
        result = mReader.eventSeek(mSearch, mChn, time, mRangeEnd);
        if (result == 0)
            result = mReader.moveCursor(mSearch, mChn, CursorStep::Current, mCurEvent);
        if (result != 0)
            frameSourceLog("funs:%s, line:%d, mChn:%d.rfs_tseek err\n", mReader.sourceName(), __LINE__, mChn);
    }
    if (result == 0) {
        const rfs_time_t& from = laterOf(time, mCurEvent.start);
        result = mReader.timeSeek(mFd, from, mDirection < 0 ? 1 : 0, mCurEvent);
        if (result != 0)
            frameSourceLog("funs:%s, line:%d, mChn:%d.rfs_tseek err\n", mReader.sourceName(), __LINE__, mChn);
    }
    if (result == 0)
        mRunProc = FrameProc_reading;
    else if (result == kNoEventListed || result == kNoEventFound)
        mRunProc = FrameProc_ended;
    return result;
}

int ReaderFrameSource::getNextFrame(const uint8_t** payload, const rfs::KVFrameHeader** header) {
    if (payload == nullptr || header == nullptr)
        return kFailed;
    *payload = nullptr;
    *header = nullptr;
    if (mRunProc != FrameProc_opened && mRunProc != FrameProc_reading)
        return kFailed;
    if (mPictureMode)
        return nextPicture();
    if (mRunProc == FrameProc_opened) {
        const int result = seekTo(toRfsTime(mFrameHead.Time));
        if (result != 0)
            return mRunProc == FrameProc_ended ? 0 : result;
    }
    const int result = cutRecord(payload, header);
    if (result != 0)
        return mRunProc == FrameProc_ended ? 0 : result;
    logFrame(**header);
    return 0;
}

int ReaderFrameSource::nextPicture() {
    // Pictures are read here once the reader offers its picture list and picture read; until then
    // picture mode delivers nothing rather than something made up.
    frameSourceLog("read pic err\n");
    return kFailed;
}

bool ReaderFrameSource::isDuplicate(const rfs::KVFrameHeader& h) const {
    return h.Time < mFrameHead.Time || (h.Time == mFrameHead.Time && h.frameNo <= mFrameHead.frameNo);
}

int ReaderFrameSource::cutRecord(const uint8_t** payload, const rfs::KVFrameHeader** header) {
    if (!mBuffer.allocated() && !mBuffer.reserve(kReadBufferSize)) {
        frameSourceLog("============getNextFrame err\n");
        return kFailed;
    }
    // Each key frame is read fresh.
    if (mDirection != 0)
        mBuffer.clear();
    for (;;) {
        if (mBuffer.available() < rfs::kFrameHeaderSize) {
            const int filled = fill(0);
            if (filled < 0)
                return filled;
            continue;
        }
        const rfs::KVFrameHeader h = rfs::readFrameHeader(mBuffer.current());
        if (!rfs::isFrameHeader(h)) {
            frameSourceLog("getNextFrame invalid frame\n");
            mBuffer.advance(1);
            continue;
        }
        const uint64_t length = rfs::storedFrameLength(h.framesize);
        if (length > kMaxRecordLength || !mBuffer.reserve(roomFor(length))) {
            frameSourceLog("getNextFrame remove buf\n");
            mBuffer.advance(1);
            continue;
        }
        if (mBuffer.available() < length) {
            // Key frames come one at a time: the rest of a long one is read on from the same handle.
            const int completing = mDirection == 0 ? 0 : static_cast<int>(roundUpToBlock(length - mBuffer.available()));
            const int filled = fill(completing);
            if (filled < 0) {
                frameSourceLog("getNextFrame readData errno\n");
                return filled;
            }
            if (filled == 0 || mBuffer.available() < length) {
                frameSourceLog("getNextFrame invalid frame lens\n");
                if (filled == 0)
                    mBuffer.advance(1);  // the event ends inside the record
            }
            continue;  // a walk to another event may have replaced what the buffer held
        }
        const bool exempt = std::exchange(mAtSeekPointRecord, false);
        if (mDirection == 0 && h.frameType != rfs::FrameAudio && !exempt && isDuplicate(h)) {
            frameSourceLog("getNextFrame frame overlapper\n");
            mBuffer.advance(length);
            continue;
        }
        const int64_t seconds = frameSeconds(h);
        if (seconds > toEpochSeconds(mCurEvent.end)) {
            frameSourceLog("getNextFrame time early\n");
            mBuffer.advance(length);
            continue;
        }
        if ((mDirection >= 0 && seconds > toEpochSeconds(mRangeEnd)) ||
            (mDirection < 0 && seconds < toEpochSeconds(mRangeStart))) {
            mRunProc = FrameProc_ended;
            return kFailed;
        }
        *header = reinterpret_cast<const rfs::KVFrameHeader*>(mBuffer.current());
        *payload = mBuffer.current() + rfs::kFrameHeaderSize;
        if (h.frameType != rfs::FrameAudio)
            mFrameHead = h;
        mBuffer.advance(length);
        return 0;
    }
}

int ReaderFrameSource::readKeyFrame(int* skip) {
    const int length = static_cast<int>(mBuffer.capacity());
    if (mAtSeekPoint)
        return mReader.readKeyFrame(mFd, KeyFrameStep::Current, 0, mBuffer.freeStart(), length, skip);
    if (mDirection > 0)
        return mReader.readKeyFrame(mFd, KeyFrameStep::Next, mDirection, mBuffer.freeStart(), length, skip);
    return mReader.readKeyFrame(mFd, KeyFrameStep::Previous, -mDirection, mBuffer.freeStart(), length, skip);
}

int ReaderFrameSource::fill(int completing) {
    for (;;) {
        int skip = 0;
        int32_t result = 0;
        if (completing > 0 || mDirection == 0) {
            mBuffer.keepTail();
            const std::size_t length = completing > 0 ? static_cast<std::size_t>(completing) : mBuffer.freeSpace();
            result =
                mReader.read(mFd, mBuffer.freeStart(), static_cast<int>(std::min(length, mBuffer.freeSpace())), &skip);
        } else {
            mBuffer.clear();
            result = readKeyFrame(&skip);
        }
        const bool atSeekPoint = mAtSeekPoint;
        mAtSeekPoint = false;
        if (result > 0) {
            if (skip < 0 || !mBuffer.appended(static_cast<std::size_t>(result), static_cast<std::size_t>(skip)))
                return kFailed;
            if (atSeekPoint)
                mAtSeekPointRecord = true;
            return result;
        }
        if (result < 0 || completing > 0)
            return result;
        mBuffer.clear();
        const int walked = walkToNeighbour();
        if (walked != 0)
            return walked;
    }
}

int ReaderFrameSource::walkToNeighbour() {
    if (mFileType == 1) {
        mRunProc = FrameProc_ended;
        return kNoNextEvent;
    }
    const rfs_time_t last = toRfsTime(mFrameHead.Time);
    frameSourceLog("mFrameHead.Time:%llu, preFrame:%d/%d/%d_%d:%d:%d\n",
                   static_cast<unsigned long long>(mFrameHead.Time), last.year, last.month, last.day, last.hour,
                   last.minute, last.second);
    for (;;) {
        rfs_event_t neighbour{};
        const bool backward = mDirection < 0;
        const int result =
            mReader.moveCursor(mSearch, mChn, backward ? CursorStep::Previous : CursorStep::Next, neighbour);
        if (result != 0) {
            // Running out of neighbours in either direction is the normal end.
            mRunProc = result == kNoNextEvent || result == kNoPreviousEvent ? FrameProc_ended : FrameProc_failed;
            return result;
        }
        if (!backward && compareTimes(neighbour.end, last) < 0)
            continue;
        const rfs_time_t& from = backward ? earlierOf(last, neighbour.end) : laterOf(last, neighbour.start);
        frameSourceLog(
            "======next_event-time:%d/%d/%d_%d:%d:%d-%d/%d/%d_%d:%d:%d, seekTime:%d/%d/%d_%d:%d:%d, "
            "derection:%d\n",
            neighbour.start.year, neighbour.start.month, neighbour.start.day, neighbour.start.hour,
            neighbour.start.minute, neighbour.start.second, neighbour.end.year, neighbour.end.month, neighbour.end.day,
            neighbour.end.hour, neighbour.end.minute, neighbour.end.second, from.year, from.month, from.day, from.hour,
            from.minute, from.second, mDirection);
        // The key frame at or before the position: an event's first going forward, its last going back.
        if (mReader.timeSeek(mFd, from, 1, neighbour) == 0) {
            mAtSeekPoint = true;
            mCurEvent = neighbour;
            return 0;
        }
    }
}

}  // namespace tarn
