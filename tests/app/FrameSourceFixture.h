// Stores written by the recorder simulator, searched and read through a frame source, with the frame
// records of the data files read independently to compare against.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "FrameSourceLog.h"
#include "KVPlayHDD.h"
#include "RfsFrameInterface.h"
#include "StoredFrames.h"
#include "TempDir.h"
#include "TestStore.h"
#include "rfs/FrameRecord.h"
#include "rfssim/StoreWriter.h"

// What a test compares of a frame record: its identity and a checksum of its payload.
struct Frame {
    char type = 0;
    uint32_t frameNo = 0;
    uint64_t time = 0;
    uint32_t size = 0;
    uint64_t sum = 0;

    friend bool operator==(const Frame&, const Frame&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Frame& f) {
        return out << f.type << " #" << f.frameNo << " at " << f.time << " (" << f.size << " bytes)";
    }
};

inline Frame frameOf(const rfs::KVFrameHeader& h, const uint8_t* payload) {
    uint64_t sum = 1469598103934665603ull;
    for (uint32_t i = 0; i < h.framesize; ++i)
        sum = (sum ^ payload[i]) * 1099511628211ull;
    return Frame{static_cast<char>(h.frameType), h.frameNo, h.Time, h.framesize, sum};
}

// A frame record where the data file holds it.
struct StoredRecord {
    Frame frame;
    uint64_t offset = 0;  // in the data file
    uint64_t length = 0;  // stored length
};

// One event of the store as the recorder wrote it.
struct StoredEvent {
    std::filesystem::path file;
    rfssim::WrittenEvent event;
    std::vector<StoredRecord> records;

    std::vector<Frame> frames() const {
        std::vector<Frame> out;
        for (const StoredRecord& r : records)
            out.push_back(r.frame);
        return out;
    }
    std::vector<Frame> keyFrames() const {
        std::vector<Frame> out;
        for (const StoredRecord& r : records)
            if (r.frame.type == 'I')
                out.push_back(r.frame);
        return out;
    }
};

class FrameSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        tarn::setFrameSourceSink([this](const std::string& line) { lines_.push_back(line); });
        ASSERT_EQ(KVrfs_init_hdd(64, 20), 0);
    }

    void TearDown() override {
        source_.reset();
        if (search_ >= 0)
            KVrfs_find_stop_hdd(search_);
        for (int id = 0; id < KVRFS_MAX_DISKS; ++id)
            KVrfs_remove_disk_hdd(id);
        KVrfs_init_hdd(64, 20);
        KVrfs_mode_set(0);
        tarn::setFrameSourceSink({});
    }

    // Writes the scenario as a folder store; the events of store channel 0 are kept in time order.
    void write(rfssim::Scenario scenario) {
        scenario.layout = StoreLayout::Directory;
        store_.layout = StoreLayout::Directory;
        store_.path = dir_.path() / "store";
        const rfssim::StoreManifest manifest = rfssim::writeStore(scenario, store_.path);
        for (const rfssim::WrittenFile& f : manifest.files)
            if (f.storeChannel == 0)
                for (const rfssim::WrittenEvent& e : f.events)
                    events_.push_back({store_.path / ("file" + std::to_string(f.fileIndex)), e, {}});
        std::sort(events_.begin(), events_.end(), [](const StoredEvent& a, const StoredEvent& b) {
            return rfs::toEpochSeconds(a.event.start) < rfs::toEpochSeconds(b.event.start);
        });
        rescan();
    }

    void attach() {
        KVrfs_mode_set(1);
        ASSERT_EQ(KVrfs_add_disk_hdd(0, store_.path.c_str(), 0, 0, nullptr), 0);
    }

    // Reads the frame records of every event from the data files, after a test has damaged them.
    void rescan() {
        for (StoredEvent& e : events_) {
            e.records.clear();
            for (const StoredFrame& f : readStoredFrames(e.file, e.event.dataStart, e.event.dataLen))
                e.records.push_back({frameOf(f.header, f.payload.data()), f.offset, f.length});
        }
    }

    template <typename Record>
    void patch(const StoredEvent& e, std::size_t record, uint64_t at, const Record& bytes) {
        writeRecord(e.file, e.records.at(record).offset + at, bytes);
    }
    rfs::KVFrameHeader header(const StoredEvent& e, std::size_t record) const {
        return readRecord<rfs::KVFrameHeader>(e.file, e.records.at(record).offset);
    }

    static tarn::FrameSourceTime full(const rfs::CalendarTime& c) {
        return {static_cast<uint16_t>(c.year), static_cast<uint8_t>(c.month),  static_cast<uint8_t>(c.day),
                static_cast<uint8_t>(c.hour),  static_cast<uint8_t>(c.minute), static_cast<uint8_t>(c.second)};
    }

    // A frame source on store channel 0 over the given span.
    void openChannel(const rfs::CalendarTime& from, const rfs::CalendarTime& to) {
        source_ = tarn::createHddFrameSource();
        tarn::FrameSourceParams params;
        params.channel = 0;
        params.start = full(from);
        params.end = full(to);
        ASSERT_EQ(source_->openChannel(params), 0);
    }

    // Frames until the source stops, at most `limit`; `end_` keeps the last result.
    std::vector<Frame> readFrames(std::size_t limit = 100000) {
        std::vector<Frame> out;
        while (out.size() < limit) {
            const uint8_t* payload = nullptr;
            const rfs::KVFrameHeader* h = nullptr;
            end_ = source_->getNextFrame(&payload, &h);
            if (end_ != 0 || h == nullptr) {
                EXPECT_EQ(payload, nullptr);
                EXPECT_EQ(h, nullptr);
                break;
            }
            EXPECT_EQ(payload, reinterpret_cast<const uint8_t*>(h) + rfs::kFrameHeaderSize);
            out.push_back(frameOf(*h, payload));
        }
        return out;
    }

    std::size_t linesSaying(const std::string& text) const {
        return static_cast<std::size_t>(std::count(lines_.begin(), lines_.end(), text));
    }

    TempDir dir_;
    TestStore store_;
    std::vector<StoredEvent> events_;
    std::vector<std::string> lines_;
    tarn::FrameSourcePtr source_;
    int search_ = -1;
    int end_ = 0;
};

inline rfs::CalendarTime at(int hour, int minute, int second = 0) {
    return rfs::CalendarTime{2026, 12, 1, hour, minute, second};
}

inline rfssim::Recording recording(rfs::CalendarTime from, rfs::CalendarTime to) {
    rfssim::Recording r;
    r.channel = 1;
    r.from = from;
    r.to = to;
    return r;
}

inline rfssim::Scenario tinyScenario(std::vector<rfssim::Recording> recordings) {
    rfssim::Scenario s;
    s.channels = 1;
    s.video = {rfssim::VideoCodecKind::H264, 160, 96, 5, 10, 100'000};
    s.recordings = std::move(recordings);
    return s;
}
