// A recorder that lost power while recording leaves its data file unclosed: the file record still says
// "being written", its partition is active, and the last event's record is as the loss found it. The
// same on an SD card, whose "EvWr" record already names the event's thumbnail, so that a reader's
// repair can be tried on both.
#include <gtest/gtest.h>

#include <cstring>

#include "DataFileCheck.h"
#include "StoreOfBothKinds.h"
#include "TestScenarios.h"

using namespace rfssim;

namespace {

using At = PowerLoss::At;

struct LossCase {
    const char* name;
    PowerLoss loss;
    uint32_t lastMagic;  // of the lost event's slot: "EvWr", or 0 when its record was never written
    uint16_t eventNoShift;
    bool iendWritten;
};

void PrintTo(const LossCase& c, std::ostream* os) {
    *os << c.name;
}

const LossCase kCases[] = {
    {"in_event", {At::InEvent, false, false}, rfs::kEventWritingMagic, 0, true},
    {"wrong_event_number", {At::InEvent, false, true}, rfs::kEventWritingMagic, 100, true},
    {"iend_lost", {At::InEvent, true, false}, rfs::kEventWritingMagic, 0, false},
    {"before_event", {At::BeforeEvent, false, false}, 0, 0, true},
};

// Two finished events, then the lost one, all in data file 0.
constexpr uint32_t kFinished = 2;
constexpr const char* kLostStart = "2026-12-01 09:01:00";

class PowerLossStore : public StoreOfBothKinds<LossCase> {
protected:
    void SetUp() override {
        Scenario s;
        s.channels = 1;
        s.partitions = {{4, 0x0F}};
        s.video = tinyVideo();
        Recording before = recording(1, StreamKind::Main, "2026-12-01 09:00:00", "2026-12-01 09:00:20");
        before.eventSeconds = 10;
        Recording lost = recording(1, StreamKind::Main, kLostStart, "2026-12-01 09:01:06");
        lost.powerLoss = testCase().loss;
        s.recordings = {before, lost};
        write(s);
    }
};

}  // namespace

TEST_P(PowerLossStore, FileStaysOpenAndItsPartitionActive) {
    const WrittenStore s = store();
    EXPECT_EQ(s.partInfo(0).active, 1);
    ASSERT_EQ(manifest_.files.size(), 1u);
    EXPECT_EQ(manifest_.files[0].eseq, rfs::kOpenFileSeq);

    // The record accounts for the finished events only, as it stood before the lost one began.
    const rfs::index_file_info file = s.fileRecord(0, 0);
    const std::vector<rfs::index_event_info> finished = s.events(0, 0);
    ASSERT_EQ(finished.size(), kFinished);
    const rfs::index_event_info& last = finished.back();
    EXPECT_EQ(file.eseq, rfs::kOpenFileSeq);
    EXPECT_EQ(file.state, rfs::FileInUse);
    EXPECT_EQ(file.data_end, last.data_start + last.data_len);
    EXPECT_EQ(file.index_low, last.kf_low);
    EXPECT_EQ(file.mobit_end, kind() == StoreKind::SdCard ? rfs::kMobitStart : last.mobit_end);
    EXPECT_TRUE(s.dataFile(0, 0)(0, fileRecordLength(kind())) == s.fileRecordBytes(0, 0))
        << "the data file begins with the same record";
}

TEST_P(PowerLossStore, LastEventRecordIsAsTheLossLeftIt) {
    const WrittenStore s = store();
    const std::vector<rfs::index_event_info> slots = s.eventSlots(0, 0);
    const rfs::index_event_info& previous = slots[kFinished - 1];
    const rfs::index_event_info& lost = slots[kFinished];
    ASSERT_EQ(lost.magic, testCase().lastMagic);
    if (lost.magic == 0) {
        const rfs::index_event_info zero{};
        EXPECT_EQ(std::memcmp(&lost, &zero, sizeof zero), 0) << "a record never written stays zero";
        return;
    }
    // The values of the moment the event began.
    EXPECT_EQ(lost.event_no, kFinished + 1 + testCase().eventNoShift);
    EXPECT_EQ(rfs::formatTime(rfs::unpackTime(lost.start_time)), kLostStart);
    EXPECT_EQ(lost.end_time, lost.start_time);
    EXPECT_EQ(lost.data_len, 0u);
    EXPECT_EQ(lost.kf_top, previous.kf_low);
    EXPECT_EQ(lost.kf_low, lost.kf_top);

    const DataFileReader read = s.dataFile(0, 0);
    const rfs::KVFrameHeader first = rfs::readFrameHeader(read(lost.data_start, rfs::kFrameHeaderSize).data());
    EXPECT_TRUE(rfs::isFrameHeader(first)) << "the lost event's frames are on the medium";
    EXPECT_EQ(first.frameType, rfs::FrameI);
    if (kind() == StoreKind::SdCard) {
        EXPECT_EQ(lost.mobit_start, previous.data_start + previous.data_len) << "the thumbnail comes first";
        expectThumbnail(read, lost, first);
    } else {
        EXPECT_EQ(lost.data_start, previous.data_start + previous.data_len);
        EXPECT_EQ(lost.mobit_end, lost.mobit_start);
    }
}

// A repair finds the lost event's last key frame right above the end slot.
TEST_P(PowerLossStore, KeyFrameIndexEndsInAnIendSlotUnlessItWasLost) {
    const WrittenStore s = store();
    const WrittenEvent& lost = manifest_.files[0].events.back();
    const uint32_t top = s.events(0, 0).back().kf_low;
    const uint32_t entry = keyFrameEntryLength(kind());
    ASSERT_LT(lost.finishedKfLow, top);
    const std::vector<uint8_t> index = s.dataFile(0, 0)(lost.finishedKfLow - entry, top - lost.finishedKfLow + entry);
    for (uint32_t at = entry; at < index.size(); at += entry)
        EXPECT_EQ(recordAt<uint32_t>(index, at), rfs::kIFrameMagic) << "entry at " << lost.finishedKfLow - entry + at;
    EXPECT_EQ(recordAt<uint32_t>(index, 0), testCase().iendWritten ? rfs::kIFrameEndMagic : 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, PowerLossStore, ::testing::Combine(::testing::ValuesIn(kCases), bothStoreKinds()),
                         CaseAndKindName());
