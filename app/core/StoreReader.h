// The store reader calls the program and its tools make, in the hard-disk reader's record form, so
// one frame source and one set of commands serve both readers.
#pragma once

#include <string>
#include <vector>

#include "rfs/rfs_types.h"

namespace tarn {

enum class CursorStep { Current, Previous, Next };
enum class KeyFrameStep { Current, Next, Previous };

class StoreReader {
public:
    virtual ~StoreReader() = default;

    // Names the frame source in its log, and the line its "find event err" message carries.
    virtual const char* sourceName() const = 0;
    virtual int findEventLine() const = 0;

    virtual int init(int maxChannels, int motionAreas) const = 0;
    // directory: the path names a folder store rather than a disk image or a drive.
    virtual int addDisk(int id, const std::string& path, bool directory) const = 0;
    virtual int removeDisk(int id) const = 0;

    // out as the library takes it: 31 day masks for a month search, else null.
    virtual int findStart(const rfs_find_param_t& param, void* out) const = 0;
    virtual int findStop(int search) const = 0;
    virtual int events(int search, int slot, std::vector<rfs_event_t>& out) const = 0;
    virtual int eventSeek(int search, int slot, const rfs_time_t& from, const rfs_time_t& to) const = 0;
    virtual int moveCursor(int search, int slot, CursorStep step, rfs_event_t& out) const = 0;

    virtual int pictures(int search, int slot, rfs_pic_list_t& out) const = 0;

    virtual int readStart(int chn) const = 0;
    virtual int readStop(int fd) const = 0;
    // direction 1: the key frame at or before the time; reading goes on to the event's end.
    virtual int timeSeek(int fd, const rfs_time_t& at, int direction, const rfs_event_t& event) const = 0;
    virtual int read(int fd, void* buffer, int length, int* skip) const = 0;
    virtual int readKeyFrame(int fd, KeyFrameStep step, int n, void* buffer, int length, int* skip) const = 0;
    virtual int readPicture(int fd, const rfs_pic_t& picture, void* buffer, int length, int* leading) const = 0;

    // Only SD cards keep a thumbnail with each event.
    virtual bool keepsThumbnails() const = 0;
    // The event's thumbnail frame record into buffer; *size is its length in and the record's out.
    virtual int thumbnail(const rfs_event_t& event, void* buffer, int* size) const = 0;
};

const StoreReader& hddStoreReader();
const StoreReader& sdStoreReader();

}  // namespace tarn
