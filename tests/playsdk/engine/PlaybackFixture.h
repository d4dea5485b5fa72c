// Instances driven through the C interface on a fake clock: pictures arrive at the picture callback and
// are noted with the fake time they were shown at; the test steps the clock a millisecond at a time and
// lets the engine finish everything each step allows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FakeClock.h"
#include "KVPlay.h"
#include "LogSink.h"
#include "StoredStreams.h"

struct Shown {
    int64_t atMs = 0;  // fake time
    int64_t time = 0;  // frame time of the picture
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bmp;
};

class PlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvplay::setEngineClock(&clock_);
        kvplay::setLogCapture([this](const std::string& line) {
            std::lock_guard guard(lock_);
            lines_.push_back(line);
        });
        ASSERT_EQ(KVPlayInitPlayLib(1, 1, nullptr), 0);
        KVPlayClearFlag(1);
    }

    void TearDown() override {
        for (void* h : handles_) {
            KVPlayStopPlay(h);
            KVPlayDestroyPlayInstance(h);
        }
        kvplay::setEngineClock(nullptr);
        clock_.release();
        kvplay::setLogCapture({});
        KVPlayClearFlag(1);
    }

    // An instance whose pictures come to this fixture, with its messages.
    void* player(int32_t type = 1) {
        void* h = KVPlayCreatePlayInstance(type);
        EXPECT_NE(h, nullptr);
        KVPlayPictureCallbackSetup setup{&PlaybackTest::onPicture, this, nullptr, 0};
        EXPECT_EQ(KVPlayRegisterPictureCallback(h, &setup), 0);
        EXPECT_EQ(KVPlaySetCallbackMessageEx(h, &PlaybackTest::onMessage, this), 0);
        handles_.push_back(h);
        return h;
    }

    // Stops and destroys one of the fixture's instances before the test ends.
    void destroy(void* h) {
        KVPlayStopPlay(h);
        KVPlayDestroyPlayInstance(h);
        handles_.erase(std::find(handles_.begin(), handles_.end(), h));
    }

    static void feed(void* h, const std::vector<Record>& records) {
        for (const Record& r : records) {
            const int32_t result = KVPlayInputNetFrame(h, r.data(), static_cast<int32_t>(r.size()));
            ASSERT_TRUE(result == 0 || result == KVPLAY_E_OUTOFMEMORY) << result;
        }
    }

    // Waits (in real time) until every work item is waiting for a later fake time.
    void settle() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!clock_.quiescent()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the engine never settled";
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
    }

    void advanceMs(int ms) {
        settle();
        for (int i = 0; i < ms; ++i) {
            clock_.advanceUs(1000);
            settle();
        }
    }

    int64_t nowMs() { return clock_.nowMs(); }

    std::vector<Shown> shown() {
        std::lock_guard guard(lock_);
        return shown_;
    }
    // Each picture once, when it first appeared (repaints left out).
    std::vector<Shown> newPictures() {
        std::vector<Shown> out;
        for (const Shown& s : shown())
            if (out.empty() || out.back().time != s.time)
                out.push_back(s);
        return out;
    }
    std::vector<int32_t> messages() {
        std::lock_guard guard(lock_);
        return messages_;
    }
    std::vector<std::string> lines() {
        std::lock_guard guard(lock_);
        return lines_;
    }
    void clearShown() {
        std::lock_guard guard(lock_);
        shown_.clear();
    }

    static std::vector<int64_t> intervalsMs(const std::vector<Shown>& pictures, std::size_t from = 0) {
        std::vector<int64_t> out;
        for (std::size_t i = from + 1; i < pictures.size(); ++i)
            out.push_back(pictures[i].atMs - pictures[i - 1].atMs);
        return out;
    }

    kvplay::FakeClock clock_;
    bool keepBmps_ = false;
    // Called from the message callback, on the engine's thread.
    std::function<void(int32_t)> onMessageHook_;
    void* handleForHook_ = nullptr;

private:
    static void onPicture(const KVPlayPicture* picture, void* user) {
        auto* self = static_cast<PlaybackTest*>(user);
        Shown s;
        s.atMs = self->clock_.nowMs();
        s.time = picture->time;
        std::memcpy(&s.width, picture->bmp + 18, 4);
        std::memcpy(&s.height, picture->bmp + 22, 4);
        s.height = -s.height;
        if (self->keepBmps_)
            s.bmp.assign(picture->bmp, picture->bmp + picture->size);
        std::lock_guard guard(self->lock_);
        self->shown_.push_back(std::move(s));
    }
    static void onMessage(int32_t code, void* user) {
        auto* self = static_cast<PlaybackTest*>(user);
        if (self->onMessageHook_)
            self->onMessageHook_(code);
        std::lock_guard guard(self->lock_);
        self->messages_.push_back(code);
    }

    std::mutex lock_;
    std::vector<Shown> shown_;
    std::vector<int32_t> messages_;
    std::vector<std::string> lines_;
    std::vector<void*> handles_;
};
