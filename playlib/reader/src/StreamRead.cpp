#include "StreamRead.h"

#include <algorithm>

#include "DataRead.h"
#include "KeyFrameEntries.h"
#include "MessageLine.h"
#include "ReadHandles.h"

namespace kvrfs {
namespace {

void setTime(rfs_read_pos_t* out, rfs::PackedTime time) {
    if (out != nullptr)
        *out = rfs::toRfsTime(time);
}

bool isVirtual(const rfs::iframe_info_t& entry) { return entry.ref_offset != entry.offset; }

// The current key-frame entry, loaded; nullptr (with `error`) when it is outside the event.
const rfs::iframe_info_t* currentEntry(ReadHandle& handle, int32_t& error) {
    if (handle.currentEntry < handle.firstEntry || handle.currentEntry > handle.lastEntry) {
        message("chn%d kv_read kf end!\n", handle.chn);
        error = kReadPositionError;
        return nullptr;
    }
    if (!loadKeyFrameWindow(handle, handle.currentEntry)) {
        message("kv_read err\n");
        error = kReadShortWindow;
        return nullptr;
    }
    return &handle.window.at(handle.currentEntry);
}

}  // namespace

int32_t readSequential(int handleNumber, unsigned char* buffer, std::size_t length, int* skip, rfs_read_pos_t* out) {
    if (handleNumber < 0 || handleNumber >= kReadHandles) {
        message("fs kv_read start invalid fd!fd:%d\n", handleNumber);
        return kReadBadHandle;
    }
    if (buffer == nullptr) {
        message("buf err!\n");
        return kReadBadBuffer;
    }
    setTime(out, 0);
    ReadHandle& handle = readHandles()[handleNumber];

    // A virtual key frame was sought: its reference I-frame comes first.
    if (!handle.referenceDelivered) {
        int32_t error = 0;
        const rfs::iframe_info_t* entry = currentEntry(handle, error);
        if (entry == nullptr)
            return error;
        if (isVirtual(*entry) && entry->ref_length != 0) {
            const uint64_t referenceEnd = uint64_t{entry->ref_offset} + ((uint64_t{entry->ref_length} + 7) & ~7ull);
            // Right after the reference was delivered by a key-frame call, reading goes on at the frame.
            if (referenceEnd == handle.position)
                handle.position = entry->offset;
            else if (referenceEnd > handle.position) {
                if (handle.position < entry->ref_offset)
                    handle.position = entry->ref_offset;
                if (handle.position == entry->ref_offset)
                    setTime(out, entry->time);
                const uint32_t frameOffset = entry->offset;
                const int32_t result = readEventData(
                    handle, buffer, length, std::min<uint64_t>(length, referenceEnd - handle.position), skip);
                if (result == 0 || (result > 0 && handle.position >= referenceEnd)) {
                    handle.position = frameOffset;
                    handle.referenceDelivered = true;
                }
                return result;
            }
        }
        handle.referenceDelivered = true;
    }

    const int32_t result = readEventData(handle, buffer, length, 0, skip);
    if (result < 0)
        message("kv_read data err!\n");
    return result;
}

int32_t readKeyFrame(int handleNumber, unsigned char* buffer, std::size_t length, int* skip, KeyFrameStep step, int n,
                     rfs_read_pos_t* out) {
    setTime(out, 0);
    if (buffer == nullptr) {
        message("para err!\n");
        return kReadBadBuffer;
    }
    if (handleNumber < 0 || handleNumber >= kReadHandles || (step != KeyFrameStep::Current && n <= 0)) {
        message("fs kv_read start invalid fd!\n");
        return kReadBadHandle;
    }
    ReadHandle& handle = readHandles()[handleNumber];
    const int move = step == KeyFrameStep::Next ? n : step == KeyFrameStep::Previous ? -n : 0;

    // Countdown 2 delivers a virtual key frame's reference, 1 the key frame itself; a step moves on
    // when the countdown runs out. Asking for the current key frame again after its reference gives
    // the key frame, and then the key frame again.
    bool decideAfresh = false;
    if (move != 0)
        --handle.countdown;
    else if (handle.countdown == 2)
        handle.countdown = 1;
    if (handle.countdown <= 0) {
        handle.currentEntry -= move;  // newer key frames have lower entry numbers
        decideAfresh = true;
    }
    message("%s_index_nu=%lld, buf_index=(%lld, %lld)\n",
            step == KeyFrameStep::Next ? "next" : step == KeyFrameStep::Previous ? "prev" : "cur",
            static_cast<long long>(handle.currentEntry), static_cast<long long>(handle.window.first),
            static_cast<long long>(handle.window.first + handle.window.count));

    if (handle.currentEntry < handle.firstEntry || handle.currentEntry > handle.lastEntry) {
        message("chn%d kv_read kf end!\n", handle.chn);
        return 0;
    }
    int32_t error = 0;
    const rfs::iframe_info_t* found = currentEntry(handle, error);
    if (found == nullptr)
        return error;
    const rfs::iframe_info_t entry = *found;
    if (decideAfresh)
        handle.countdown = !isVirtual(entry) || entry.ref_offset == handle.lastReference ? 1 : 2;

    uint64_t offset = entry.offset;
    uint64_t frameLength = keyFrameLength(handle.dataFile, handle.fileBase, entry);
    bool deliversIFrame = !isVirtual(entry);
    if (handle.countdown == 1) {
        handle.referenceDelivered = true;
        if (isVirtual(entry) && entry.ref_offset != handle.lastReference) {
            message("ref i frame can't be readed' iframeLength = %u len = %zu\n", entry.ref_length, length);
            return kReadPositionError;
        }
    } else {
        offset = entry.ref_offset;
        frameLength = entry.ref_length;
        deliversIFrame = true;
        setTime(out, entry.time);
        handle.referenceDelivered = false;
    }

    if (frameLength == 0) {
        message("write data err\n");
        return kReadPositionError;
    }
    if (frameLength > length) {
        message("iframe length is too long! iframeLength = %llu len = %zu\n",
                static_cast<unsigned long long>(frameLength), length);
        frameLength = length;
    }
    if (offset < handle.dataStart || offset > handle.dataEnd()) {
        message("write data err\n");
        return kReadPositionError;
    }
    handle.position = offset;
    const int32_t result = readEventData(handle, buffer, length, frameLength, skip);
    if (result < 0)
        message("read data err!\n");
    else if (result > 0 && deliversIFrame)
        handle.lastReference = offset;
    return result;
}

}  // namespace kvrfs
