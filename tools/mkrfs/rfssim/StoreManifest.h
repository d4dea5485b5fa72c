// What writeStore put into a store, so that tests can hold a reader's results against it.
#pragma once

#include <cstdint>
#include <vector>

#include "rfs/DiskParam.h"
#include "rfs/PackedTime.h"
#include "rfssim/DataFileWriter.h"
#include "rfssim/Scenario.h"
#include "rfssim/StoreGeometry.h"

namespace rfssim {

struct WrittenEvent {
    uint16_t eventNo = 0;  // 1-based within the file
    uint32_t magic = 0;    // rfs::kEventMagic, or rfs::kEventWritingMagic for an event still being written
    rfs::CalendarTime start;
    rfs::CalendarTime end;  // second of the last frame
    uint32_t recType = 0;
    uint8_t flag = 0;
    uint32_t dataStart = 0;
    uint32_t dataLen = 0;
    uint32_t kfTop = 0;
    uint32_t kfLow = 0;
    uint32_t mobitStart = 0;  // hard disks; 0 on an SD card
    uint32_t mobitEnd = 0;
    // SD cards: the event's thumbnail frame record, from the record's motion-bit fields; 0 on a hard disk.
    uint32_t thumbnailOffset = 0;
    uint32_t thumbnailLength = 0;  // header and payload, without padding
    uint32_t videoFrames = 0;
    uint32_t audioFrames = 0;
    uint32_t keyFrameEntries = 0;
    // Where the recorder had put the newest key-frame entry and the motion-bit end marker, also when
    // the power loss kept them out of the record.
    uint32_t finishedKfLow = 0;
    uint32_t finishedMobitEnd = 0;
};

struct WrittenPicture {
    rfs::CalendarTime time;
    uint32_t position = 0;  // 4 KiB block | bytes before the frame record in it
    uint32_t length = 0;    // the frame record as stored
    uint32_t recType = 0;
    uint32_t frameNo = 0;
};

struct WrittenFile {
    int partition = 0;
    uint32_t fileIndex = 0;
    int storeChannel = 0;
    rfs::FileState state = rfs::FileInUse;
    uint32_t eseq = 0;
    rfs::CalendarTime start;
    rfs::CalendarTime end;
    uint32_t dataEnd = 0;
    uint32_t indexLow = 0;
    uint32_t mobitEnd = 0;
    std::vector<WrittenEvent> events;
    rfs::FileType type = rfs::RecordingFile;
    // Picture files: the pictures in time order, the JPEG each carries and the "PicMon_" day records.
    std::vector<WrittenPicture> pictures;
    std::vector<uint8_t> jpeg;
    uint32_t picMonOffset = 0;
    uint32_t dayRecordSize = 0;
    std::vector<rfs::CalendarTime> pictureDays;

    uint32_t videoFrames() const;
    uint32_t audioFrames() const;
};

struct StoreManifest {
    StoreLayout layout = StoreLayout::Directory;
    StoreKind kind = StoreKind::HardDisk;
    rfs::disk_param_t param{};
    std::vector<uint32_t> filesPerPartition;
    std::vector<WrittenFile> files;  // the files holding recordings or pictures, by partition and file index
};

StoreManifest makeManifest(StoreLayout layout, const StoreGeometry& geometry,
                           const std::vector<ClosedDataFile>& closedFiles);

}  // namespace rfssim
