// Holds a data file's bytes against its file record and event records: frame records, key-frame
// index, motion bits (on an SD card the thumbnails in their place), and the file record's summary fields.
#pragma once

#include <cstdint>
#include <vector>

#include "StoreReadBack.h"
#include "rfs/FrameRecord.h"
#include "rfs/IndexRecords.h"
#include "rfssim/StoreGeometry.h"

struct WalkedFrame {
    rfs::KVFrameHeader header{};
    uint32_t offset = 0;
    uint32_t length = 0;  // as stored, padding included
    std::vector<uint8_t> payload;
};
using WalkedEvent = std::vector<WalkedFrame>;

// The frame records of each event, from data_start over data_len; fails where a record does not fit.
std::vector<WalkedEvent> walkEvents(const DataFileReader& read, const std::vector<rfs::index_event_info>& events);

// Adds a gtest failure for every promise of the records that the bytes break; returns the frames. The
// file may have any state of a file in use and its events either magic: the scenario chooses those.
std::vector<WalkedEvent> expectConsistentDataFile(const DataFileReader& read, const rfssim::DataFileLayout& layout,
                                                  const rfs::index_file_info& file,
                                                  const std::vector<rfs::index_event_info>& events);

// An SD card's event record names its thumbnail in the motion-bit fields: a 'T' frame record holding a
// JPEG of the event's first picture, outside the event's frames.
void expectThumbnail(const DataFileReader& read, const rfs::index_event_info& event,
                     const rfs::KVFrameHeader& firstFrame);

rfs::PackedTime packedSecondOf(const rfs::KVFrameHeader& header);
