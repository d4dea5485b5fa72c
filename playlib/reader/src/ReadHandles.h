// The 64 read handles: each reads one listed event of one data file, sequentially or key frame by
// key frame.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "StoreFile.h"
#include "rfs/IndexRecords.h"

namespace kvrfs {

constexpr int kReadHandles = 64;

// Read results.
constexpr int32_t kReadPositionError = -1;
constexpr int32_t kReadBadHandle = -4;
constexpr int32_t kReadDiskGone = -6;
constexpr int32_t kReadBadEvent = -10;
constexpr int32_t kReadBadBuffer = -11;
constexpr int32_t kReadNullPictureBuffer = -12;
constexpr int32_t kReadOpenFailed = -13;
constexpr int32_t kReadShort = -15;
constexpr int32_t kReadShortWindow = -16;
constexpr int32_t kReadBadPictureHandle = -18;
constexpr int32_t kReadEventNotListed = -23;
constexpr int32_t kReadEventCovered = -24;
constexpr int32_t kReadBadLength = -25;

// A window of the key-frame index: entry numbers first .. first + count - 1.
struct KeyFrameWindow {
    std::vector<rfs::iframe_info_t> entries;
    int64_t first = 0;
    uint32_t count = 0;

    bool holds(int64_t entry) const { return count != 0 && entry >= first && entry < first + count; }
    const rfs::iframe_info_t& at(int64_t entry) const { return entries[static_cast<std::size_t>(entry - first)]; }
};

struct ReadHandle {
    bool inUse = false;
    bool covered = false;
    int eventIndex = 0;
    int chn = 0;
    StoreFile dataFile;
    uint32_t recordId = 0;
    bool haveRecordId = false;
    uint64_t fileBase = 0;
    uint64_t position = 0;
    uint64_t dataStart = 0;
    uint64_t dataLength = 0;
    int64_t currentEntry = 0;
    int64_t firstEntry = 0;  // the event's newest key frame (entry numbers fall as time rises)
    int64_t lastEntry = 0;   // its oldest
    int countdown = 0;
    uint64_t lastReference = 0;
    bool referenceDelivered = true;
    KeyFrameWindow window;
    // The picture file read last, kept open for the next picture of the same file.
    StoreFile pictureFile;
    uint32_t pictureRecordId = 0;

    uint64_t dataEnd() const { return dataStart + dataLength; }
};

std::array<ReadHandle, kReadHandles>& readHandles();

int32_t readStart(int chn);
int32_t readStop(int handle);
void freeAllReadHandles();

// Makes the window hold `entry`; false on a short read of the index.
bool loadKeyFrameWindow(ReadHandle& handle, int64_t entry);

}  // namespace kvrfs
