// A reader initialised for one test: messages captured, every disk removed afterwards, and stores
// written from scenarios.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DiskRegistry.h"
#include "KVPlayHDD.h"
#include "MessageLine.h"
#include "TempDir.h"
#include "TestStore.h"
#include "rfssim/StoreWriter.h"

class ReaderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        kvrfs::setMessageSink([this](const std::string& line) { lines_.push_back(line); });
        ASSERT_EQ(KVrfs_init_hdd(64, 20), 0);
    }

    void TearDown() override {
        for (int id = 0; id < kvrfs::kMaxDisks; ++id)
            KVrfs_remove_disk_hdd(id);
        KVrfs_init_hdd(64, 20);  // frees the search and read handles
        KVrfs_mode_set(0);
        kvrfs::setMessageSink({});
    }

    // Writes the scenario as `name` in the test's folder and selects the matching access mode.
    TestStore write(rfssim::Scenario scenario, const std::string& name, rfssim::StoreManifest* manifest = nullptr) {
        TestStore store;
        store.layout = scenario.layout.value_or(StoreLayout::RawImage);
        scenario.layout = store.layout;
        store.path = dir_.path() / name;
        const rfssim::StoreManifest written = rfssim::writeStore(scenario, store.path);
        if (manifest != nullptr)
            *manifest = written;
        KVrfs_mode_set(store.directory() ? 1 : 0);
        return store;
    }

    int attach(const TestStore& s, int id = 0, int type = 0, int group = 0) {
        return KVrfs_add_disk_hdd(id, s.path.c_str(), type, group, nullptr);
    }

    // True when a message line ends with `text` (the prefix carries the local time).
    bool said(const std::string& text) const {
        return std::any_of(lines_.begin(), lines_.end(), [&](const std::string& line) {
            return line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0;
        });
    }

    TempDir dir_;
    std::vector<std::string> lines_;
};

// Tiny, fast video: the reader never decodes, it only needs real frame records.
inline rfssim::VideoSettings tinyVideo() { return {rfssim::VideoCodecKind::H264, 160, 96, 5, 10, 100'000}; }

inline rfssim::Recording recording(int channel, rfs::CalendarTime from, rfs::CalendarTime to,
                                   uint32_t types = rfs::RecNormal) {
    rfssim::Recording r;
    r.channel = channel;
    r.from = from;
    r.to = to;
    r.recTypes = types;
    return r;
}

inline rfs::CalendarTime at(int day, int hour, int minute, int second = 0, int month = 12, int year = 2026) {
    return rfs::CalendarTime{year, month, day, hour, minute, second};
}

// Search parameters over channels 0..channels-1 and a span; the record types default to all.
struct Search {
    rfs_find_param_t param{};
    std::vector<uint8_t> bits = std::vector<uint8_t>(32, 0);
    std::vector<uint32_t> integrated;

    Search(uint8_t type, rfs::CalendarTime from, rfs::CalendarTime to, int channels, int32_t recordType = -1) {
        param.search_type = type;
        param.record_type = recordType;
        param.chnCnt = channels;
        for (int c = 0; c < channels; ++c)
            bits[c / 8] |= static_cast<uint8_t>(1u << (c % 8));
        param.start = rfs::toRfsTime(rfs::packTime(from));
        param.end = rfs::toRfsTime(rfs::packTime(to));
    }

    rfs_find_param_t* get() {
        param.chnBit = bits.data();
        param.integratedRecType = integrated.empty() ? nullptr : integrated.data();
        param.integratedRecTypeCount = static_cast<int32_t>(integrated.size());
        return &param;
    }
};
