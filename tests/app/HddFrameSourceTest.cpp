// The hard-disk frame source over real stores: what it delivers is held against the frame records of
// the data files.

#include <cstdlib>

#include "FrameSourceFixture.h"

namespace {

using rfs::CalendarTime;

// Three events of 20 s with gaps of 40 s; an I frame every 2 s.
rfssim::Scenario threeEvents() {
    return tinyScenario(
        {recording(at(9, 0), at(9, 0, 20)), recording(at(9, 1), at(9, 1, 20)), recording(at(9, 2), at(9, 2, 20))});
}

class ThreeEvents : public FrameSourceTest {
protected:
    void SetUp() override {
        FrameSourceTest::SetUp();
        write(threeEvents());
        ASSERT_EQ(events_.size(), 3u);
        attach();
    }

    std::vector<Frame> allFrames() const {
        std::vector<Frame> out;
        for (const StoredEvent& e : events_) {
            const std::vector<Frame> f = e.frames();
            out.insert(out.end(), f.begin(), f.end());
        }
        return out;
    }

    // A record in the middle of the second event.
    static constexpr std::size_t kVictim = 23;
    std::vector<Frame> allFramesWithoutVictim() const {
        std::vector<Frame> out = allFrames();
        const Frame victim = events_[1].records.at(kVictim).frame;
        out.erase(std::find(out.begin(), out.end(), victim));
        return out;
    }
};

}  // namespace

TEST_F(ThreeEvents, ReadsTheEventsInOrderAndEndsNormally) {
    openChannel(at(8, 0), at(23, 59, 59));
    const std::vector<Frame> frames = readFrames();
    EXPECT_EQ(end_, 0);
    EXPECT_EQ(frames, allFrames());
    const uint8_t* payload = nullptr;
    const rfs::KVFrameHeader* h = nullptr;
    EXPECT_EQ(source_->getNextFrame(&payload, &h), -1) << "nothing is open after the end";
}

TEST_F(ThreeEvents, StopsAtTheEndOfTheRange) {
    openChannel(at(8, 0), at(9, 1, 9));
    const std::vector<Frame> frames = readFrames();
    EXPECT_EQ(end_, 0);
    std::vector<Frame> expected = events_[0].frames();
    for (const Frame& f : events_[1].frames())
        if (f.time < rfs::toEpochSeconds(at(9, 1, 10)) * 1'000'000ull)
            expected.push_back(f);
    EXPECT_EQ(frames, expected);
}

TEST_F(ThreeEvents, ResynchronisesAfterGarbage) {
    struct Case {
        const char* what;
        std::size_t at;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"a damaged tag", 0, {'X'}},
        {"a type that is not media", 4, {'T'}},
        {"a whole header of garbage", 0, std::vector<uint8_t>(40, 0xab)},
        {"garbage into the payload", 3, std::vector<uint8_t>(100, 0x5a)},
    };
    const StoredEvent& second = events_[1];
    const rfs::KVFrameHeader original = header(second, kVictim);
    const uint64_t victimLength = second.records.at(kVictim).length;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_LT(c.at + c.bytes.size(), victimLength) << "the garbage stays inside the record";
        std::fstream out(second.file, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(static_cast<std::streamoff>(second.records.at(kVictim).offset + c.at));
        out.write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
        out.close();
        lines_.clear();
        openChannel(at(8, 0), at(23, 59, 59));
        EXPECT_EQ(readFrames(), allFramesWithoutVictim());
        EXPECT_EQ(end_, 0);
        // One line per byte of the damaged record, then the next record is found.
        EXPECT_EQ(linesSaying("getNextFrame invalid frame\n"), victimLength);
        patch(second, kVictim, 0, original);
    }
}

TEST_F(ThreeEvents, SkipsRecordsLongerThan4MiB) {
    for (uint32_t framesize : {uint32_t{4 << 20}, uint32_t{5 << 20}, uint32_t{0xffffffff}}) {
        SCOPED_TRACE(framesize);
        rfs::KVFrameHeader h = header(events_[1], kVictim);
        const uint32_t original = h.framesize;
        h.framesize = framesize;
        patch(events_[1], kVictim, 0, h);
        lines_.clear();
        openChannel(at(8, 0), at(23, 59, 59));
        EXPECT_EQ(readFrames(), allFramesWithoutVictim());
        EXPECT_EQ(linesSaying("getNextFrame remove buf\n"), 1u);
        h.framesize = original;
        patch(events_[1], kVictim, 0, h);
    }
}

TEST_F(ThreeEvents, SkipsFramesThatDoNotFollowTheLastOne) {
    const rfs::KVFrameHeader before = header(events_[1], kVictim - 1);
    struct Case {
        const char* what;
        int64_t timeShift;  // against the frame before
        int64_t frameNoShift;
        bool delivered;
    };
    const Case cases[] = {
        {"the same time and number", 0, 0, false},
        {"the same time, a lower number", 0, -1, false},
        {"an older time", -1, 1, false},
        {"the same time, a higher number", 0, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rfs::KVFrameHeader h = header(events_[1], kVictim);
        const rfs::KVFrameHeader original = h;
        h.Time = before.Time + c.timeShift;
        h.frameNo = static_cast<uint32_t>(before.frameNo + c.frameNoShift);
        patch(events_[1], kVictim, 0, h);
        lines_.clear();
        openChannel(at(8, 0), at(23, 59, 59));
        const std::vector<Frame> frames = readFrames();
        if (c.delivered) {
            EXPECT_EQ(frames.size(), allFrames().size());
            EXPECT_EQ(linesSaying("getNextFrame frame overlapper\n"), 0u);
        } else {
            EXPECT_EQ(frames, allFramesWithoutVictim());
            EXPECT_EQ(linesSaying("getNextFrame frame overlapper\n"), 1u);
        }
        patch(events_[1], kVictim, 0, original);
    }
}

TEST_F(ThreeEvents, StepsThroughKeyFramesAcrossEventsBothWays) {
    struct Case {
        int direction;
        CalendarTime from;
    };
    const Case cases[] = {{1, at(9, 0)}, {2, at(9, 0)}, {3, at(9, 0)}, {-1, at(9, 2, 11)}, {-2, at(9, 2, 11)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.direction);
        // The key frames each event contributes: from its first (or, going back, its last) by |n|.
        std::vector<Frame> expected;
        const int step = std::abs(c.direction);
        if (c.direction > 0) {
            for (const StoredEvent& e : events_) {
                const std::vector<Frame> keys = e.keyFrames();
                for (std::size_t i = 0; i < keys.size(); i += step)
                    expected.push_back(keys[i]);
            }
        } else {
            const uint64_t fromUs = static_cast<uint64_t>(rfs::toEpochSeconds(c.from)) * 1'000'000;
            for (std::size_t n = events_.size(); n-- > 0;) {
                std::vector<Frame> keys = events_[n].keyFrames();
                std::erase_if(keys, [&](const Frame& f) { return f.time > fromUs; });
                for (std::size_t i = keys.size(); i > 0; i -= std::min<std::size_t>(i, step))
                    expected.push_back(keys[i - 1]);
            }
        }
        openChannel(at(8, 0), at(23, 59, 59));
        source_->setDirection(c.direction);
        ASSERT_EQ(source_->seek(full(c.from)), 0);
        EXPECT_EQ(readFrames(), expected);
        EXPECT_EQ(end_, 0) << "running out of events is the normal end";
    }
}

TEST_F(ThreeEvents, ChangingDirectionGoesOnFromTheLastFrame) {
    openChannel(at(8, 0), at(23, 59, 59));
    const std::vector<Frame> keys = events_[1].keyFrames();
    ASSERT_EQ(source_->seek(full(at(9, 1, 6))), 0);
    source_->setDirection(1);
    const std::vector<Frame> forward = readFrames(2);
    EXPECT_EQ(forward, (std::vector<Frame>{keys[3], keys[4]}));
    source_->setDirection(-1);
    const std::vector<Frame> back = readFrames(2);
    EXPECT_EQ(back, (std::vector<Frame>{keys[4], keys[3]}));
    source_->setDirection(0);
    const std::vector<Frame> normal = readFrames(2);
    ASSERT_EQ(normal.size(), 2u);
    EXPECT_EQ(normal[0], keys[3]) << "normal reading starts at a key frame";
}

TEST_F(ThreeEvents, PlaysOneEventWithoutWalkingOn) {
    uint8_t channel = 1;
    rfs_find_param_t find{};
    find.search_type = 3;
    find.record_type = -1;
    find.chnCnt = 8;
    find.chnBit = &channel;
    find.start = rfs::toRfsTime(rfs::packTime(at(0, 0)));
    find.end = rfs::toRfsTime(rfs::packTime(at(23, 59, 59)));
    search_ = KVrfs_find_start_hdd(&find, nullptr);
    ASSERT_GE(search_, 0);
    rfs_event_list_t list{};
    ASSERT_EQ(KVrfs_get_event_hdd(search_, 0, &list), 0);
    ASSERT_EQ(list.count, 3);

    source_ = tarn::createHddFrameSource();
    EXPECT_EQ(source_->openEvent(nullptr, nullptr, nullptr), -1);
    ASSERT_EQ(source_->openEvent(&list.list[1], nullptr, nullptr), 0);
    EXPECT_EQ(readFrames(), events_[1].frames());
    EXPECT_EQ(end_, 0);

    // A narrower span: the year counts from 2000 here.
    const tarn::FrameSourceTime from{26, 12, 1, 9, 1, 4};
    const tarn::FrameSourceTime to{26, 12, 1, 9, 1, 9};
    ASSERT_EQ(source_->openEvent(&list.list[1], &from, &to), 0);
    const std::vector<Frame> frames = readFrames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front(), events_[1].keyFrames()[2]);
    EXPECT_LT(frames.back().time, static_cast<uint64_t>(rfs::toEpochSeconds(at(9, 1, 10))) * 1'000'000);
    EXPECT_GE(frames.back().time, static_cast<uint64_t>(rfs::toEpochSeconds(at(9, 1, 9))) * 1'000'000);
}

TEST_F(ThreeEvents, RefusesChannelsAbove128WithoutClosingWhatIsOpen) {
    openChannel(at(8, 0), at(23, 59, 59));
    const std::vector<Frame> first = readFrames(1);
    tarn::FrameSourceParams params;
    params.start = full(at(8, 0));
    params.end = full(at(23, 59, 59));
    for (auto [channel, stream] : {std::pair{129, 0}, std::pair{128, 1}, std::pair{-1, 0}}) {
        params.channel = channel;
        params.stream = stream;
        EXPECT_EQ(source_->openChannel(params), -1) << channel << " stream " << stream;
    }
    const std::vector<Frame> next = readFrames(1);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0], events_[0].records.at(1).frame) << "the open channel reads on";
}

TEST_F(FrameSourceTest, DeliversTheReferenceOfAVirtualKeyFrameAtTheSeekPoint) {
    rfssim::Scenario s = tinyScenario({recording(at(10, 0), at(10, 0, 20))});
    s.video.gop = 20;
    s.recordings[0].virtualKeyFrameEvery = 5;
    write(s);
    attach();
    const std::vector<StoredRecord>& records = events_.at(0).records;
    const uint64_t seekUs = static_cast<uint64_t>(rfs::toEpochSeconds(at(10, 0, 6))) * 1'000'000;
    const auto virtualFrame = std::find_if(records.begin(), records.end(), [&](const StoredRecord& r) {
        return r.frame.type == 'V' && r.frame.time >= seekUs;
    });
    ASSERT_NE(virtualFrame, records.end());
    const auto reference = std::find_if(std::make_reverse_iterator(virtualFrame), records.rend(),
                                        [](const StoredRecord& r) { return r.frame.type == 'I'; });
    ASSERT_NE(reference, records.rend());

    openChannel(at(8, 0), at(23, 59, 59));
    ASSERT_EQ(source_->seek(full(at(10, 0, 6))), 0);
    const std::vector<Frame> frames = readFrames(3);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], reference->frame) << "older than the seek time, yet needed to decode";
    EXPECT_EQ(frames[1], virtualFrame->frame);
    EXPECT_EQ(frames[2], std::next(virtualFrame)->frame);
}

TEST_F(FrameSourceTest, NeverSkipsAudioAsOverlapping) {
    rfssim::Scenario s = tinyScenario({recording(at(9, 0), at(9, 0, 10))});
    s.recordings[0].audio = true;
    write(s);
    attach();
    const StoredEvent& e = events_.at(0);
    const auto audio = std::find_if(e.records.begin() + 10, e.records.end(),
                                    [](const StoredRecord& r) { return r.frame.type == 'A'; });
    ASSERT_NE(audio, e.records.end());
    const std::size_t index = static_cast<std::size_t>(audio - e.records.begin());
    rfs::KVFrameHeader h = header(e, index);
    h.Time = header(e, 0).Time;  // older than the video before it
    h.frameNo = 0;
    patch(e, index, 0, h);
    rescan();

    openChannel(at(8, 0), at(23, 59, 59));
    EXPECT_EQ(readFrames(), events_.at(0).frames());
}

TEST_F(FrameSourceTest, ReadsEventsLargerThanItsBuffer) {
    write(tinyScenario({recording(at(9, 0), at(9, 7))}));
    attach();
    ASSERT_GT(events_.at(0).event.dataLen, 1u << 20) << "the event must need several buffer fills";
    openChannel(at(8, 0), at(23, 59, 59));
    EXPECT_EQ(readFrames(), events_.at(0).frames());
}

TEST_F(FrameSourceTest, PictureModeDeliversNothingYet) {
    write(tinyScenario({recording(at(9, 0), at(9, 0, 10))}));
    attach();
    source_ = tarn::createHddFrameSource();
    tarn::FrameSourceParams params;
    params.start = full(at(8, 0));
    params.end = full(at(23, 59, 59));
    params.pictureMode = 1;
    ASSERT_EQ(source_->openChannel(params), 0);
    EXPECT_EQ(source_->seek(full(at(9, 0))), 0) << "seeking means nothing for pictures";
    const uint8_t* payload = nullptr;
    const rfs::KVFrameHeader* h = nullptr;
    EXPECT_EQ(source_->getNextFrame(&payload, &h), -1);
    EXPECT_EQ(h, nullptr);
}

TEST_F(ThreeEvents, SeeksToTheKeyFrameAtOrAfterTheTime) {
    struct Case {
        const char* what;
        CalendarTime time;
        int event;
        std::size_t keyFrame;
    };
    const Case cases[] = {
        {"on a key frame", at(9, 1, 6), 1, 3},
        {"between key frames", at(9, 1, 5), 1, 3},
        {"in the gap before an event", at(9, 0, 40), 1, 0},
        {"at the first frame", at(9, 0), 0, 0},
    };
    openChannel(at(8, 0), at(9, 30));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(source_->seek(full(c.time)), 0);
        const std::vector<Frame> frames = readFrames(2);
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0], events_[c.event].keyFrames().at(c.keyFrame));
    }
    EXPECT_EQ(source_->seek(full(at(9, 30, 1))), -1) << "after the end of the range";
}

TEST_F(FrameSourceTest, PicksOneEventByRecordIdAndEventIndex) {
    rfssim::Recording later = recording(at(9, 2), at(9, 2, 30));
    later.newFile = true;
    later.eventSeconds = 10;
    write(tinyScenario({recording(at(9, 0), at(9, 0, 20)), later}));
    attach();
    const auto picked = std::find_if(events_.begin(), events_.end(), [](const StoredEvent& e) {
        return e.event.eventNo == 2 && e.file.filename() != "file0";
    });
    ASSERT_NE(picked, events_.end()) << "an event that is neither the first of its file nor in file 0";
    const int fileIndex = std::stoi(picked->file.filename().string().substr(4));

    source_ = tarn::createHddFrameSource();
    tarn::FrameSourceParams params;
    params.start = full(at(8, 0));
    params.end = full(at(23, 59, 59));
    params.recordId = fileIndex;  // disk 0, partition 0
    params.eventIndex = picked->event.eventNo - 1;
    ASSERT_EQ(source_->openChannel(params), 0);
    EXPECT_EQ(readFrames(), picked->frames()) << "that event alone";

    params.eventIndex = 40;
    EXPECT_EQ(source_->openChannel(params), -1);
    EXPECT_EQ(linesSaying("line:429 find event err\n"), 1u);
}
