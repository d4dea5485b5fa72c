// The SD card reader initialised for one test: messages captured, every card removed afterwards, and
// cards written from scenarios.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "KVPlaySD.h"
#include "MessageLine.h"
#include "MessageLines.h"
#include "ScenarioParts.h"
#include "TempDir.h"
#include "TestStore.h"
#include "rfssim/StoreWriter.h"

class SdReaderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        kvrfs::setMessageSink([this](const std::string& line) { lines_.push_back(line); });
        ASSERT_EQ(rfs_init(64, 20), 0);
    }

    void TearDown() override {
        for (int id = 0; id < KVRFS_SD_MAX_DISKS; ++id)
            rfs_remove_disk(id);
        rfs_init(64, 20);  // frees the search and read handles
        kvrfs::setMessageSink({});
    }

    // A card of `channels` channels with tiny video holding the recordings.
    static rfssim::Scenario card(std::vector<rfssim::Recording> recordings, int channels = 4) {
        rfssim::Scenario s;
        s.kind = rfssim::StoreKind::SdCard;
        s.layout = StoreLayout::Directory;
        s.channels = channels;
        s.video = tinyVideo();
        s.partitions = {rfssim::PartitionSettings{8, 0x0F}};
        s.recordings = std::move(recordings);
        return s;
    }

    TestStore write(const rfssim::Scenario& scenario, const std::string& name,
                    rfssim::StoreManifest* manifest = nullptr) {
        TestStore store;
        store.layout = StoreLayout::Directory;
        store.path = dir_.path() / name;
        const rfssim::StoreManifest written = rfssim::writeStore(scenario, store.path);
        if (manifest != nullptr)
            *manifest = written;
        return store;
    }

    int attach(const TestStore& s, int id = 0, int type = 0, int group = 0) {
        return rfs_add_disk(id, s.path.c_str(), type, group, nullptr);
    }

    bool said(const std::string& text) const { return someLineEndsWith(lines_, text); }

    // The events of a per-channel search of the span, from the slot of `channel`.
    std::vector<rfs_sd_event_t> listed(int channel, rfs::CalendarTime from, rfs::CalendarTime to, int& handle) {
        Search search(3, from, to, 8);
        handle = rfs_find_start(search.get(), nullptr, 0);
        EXPECT_GE(handle, 0);
        rfs_sd_event_list_t list{};
        EXPECT_EQ(rfs_get_event(handle, channel, &list), 0);
        return {list.list, list.list + list.count};
    }

    TempDir dir_;
    std::vector<std::string> lines_;
};
