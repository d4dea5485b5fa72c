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
#include "MessageLines.h"
#include "ScenarioParts.h"
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

    bool said(const std::string& text) const { return someLineEndsWith(lines_, text); }

    TempDir dir_;
    std::vector<std::string> lines_;
};
