// The input copy and the queue's drop policy, on frames built to show each case.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "FrameBuffer.h"
#include "InputQueue.h"

namespace {

using kvplay::FrameBuffer;

std::vector<uint8_t> frameRecord(uint8_t type, uint64_t time, const std::vector<uint8_t>& payload, uint8_t codec = 1) {
    rfs::KVFrameHeader h{};
    h.FrameTag = rfs::KVFrameTag;
    h.frameType = type;
    h.codec = codec;
    h.framesize = static_cast<uint32_t>(payload.size());
    h.Time = h.timestamp = time;
    std::vector<uint8_t> r(rfs::kFrameHeaderSize + payload.size());
    std::memcpy(r.data(), &h, sizeof h);
    std::copy(payload.begin(), payload.end(), r.begin() + rfs::kFrameHeaderSize);
    return r;
}

// A queue holding one frame per letter of `types` ('.' is an end marker), payloads of 10 bytes.
kvplay::InputQueue queueOf(const std::string& types) {
    kvplay::InputQueue q;
    uint64_t time = 1'000'000;
    for (const char t : types) {
        if (t == '.') {
            q.push(nullptr);
            continue;
        }
        const auto r = frameRecord(static_cast<uint8_t>(t), time += 40'000, std::vector<uint8_t>(10, 0x11));
        q.push(FrameBuffer::copyOf(r.data()));
    }
    return q;
}

std::string typesIn(kvplay::InputQueue& q, bool& headDecodeOnly) {
    std::string out;
    headDecodeOnly = false;
    bool first = true;
    while (!q.empty()) {
        bool marker;
        auto f = q.pop(marker);
        out += marker ? '.' : static_cast<char>(f->type());
        if (first && f)
            headDecodeOnly = f->decodeOnly();
        first = false;
    }
    return out;
}

}  // namespace

TEST(InputQueue, DropPolicyKeepsWhatCanBeDecoded) {
    struct {
        const char* queued;
        const char* kept;
        bool headDecodeOnly;
    } cases[] = {
        {"IPPPIPPP", "IPPP", false},  // halved, stops at the I frame
        {"IPPPPPIP", "IP", false},    // halved to PPIP, then up to the I frame
        {"IPPPPPVP", "IVP", true},    // stops at a 'V': the dropped I goes back, decode only
        {"PPPPPPVP", "VP", false},    // no I frame was dropped: nothing to put back
        {"IPPP.PPP", "", false},      // no key frame left: everything goes, markers too
        {"IPIPPPPP", "", false},      // halved to PPPP, none decodable
        {"IPPPIPPA", "IPPA", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.queued);
        kvplay::InputQueue q = queueOf(c.queued);
        const kvplay::DropReport r = q.dropForRoom();
        EXPECT_EQ(r.countBefore, static_cast<int32_t>(std::strlen(c.queued)));
        EXPECT_EQ(r.countAfter, static_cast<int32_t>(std::strlen(c.kept)));
        EXPECT_EQ(r.bytesAfter, 50 * static_cast<int64_t>(std::count_if(c.kept, c.kept + std::strlen(c.kept),
                                                                        [](char t) { return t != '.'; })));
        EXPECT_EQ(q.cachedBytes(), r.bytesAfter);
        bool decodeOnly;
        EXPECT_EQ(typesIn(q, decodeOnly), c.kept);
        EXPECT_EQ(decodeOnly, c.headDecodeOnly);
    }
}

TEST(InputQueue, DropReportNamesTheFirstAndLastDroppedVideoTimes) {
    kvplay::InputQueue q = queueOf("IPPPPPIP");
    const kvplay::DropReport r = q.dropForRoom();
    EXPECT_EQ(r.firstDroppedTime, 1'040'000u);
    EXPECT_EQ(r.lastDroppedTime, 1'240'000u);
    EXPECT_EQ(r.bytesBefore, 8 * 50);
}

TEST(FrameCopy, ThreeByteStartCodesBecomeFourAndTheCopyHasZeroSlack) {
    const std::vector<uint8_t> payload = {0, 0, 1, 0x67, 0xAA, 0, 0, 1, 0x68, 0xBB, 0, 0, 0, 1, 0x65, 0xCC, 0xDD};
    const auto record = frameRecord(rfs::FrameI, 1, payload);
    ASSERT_EQ(kvplay::checkInputFrame(record.data(), static_cast<int32_t>(record.size())), kvplay::FrameCheck::Valid);
    const auto copy = FrameBuffer::copyOf(record.data());
    ASSERT_TRUE(copy);
    const std::vector<uint8_t> expected = {0,    0,    0, 1, 0x67, 0xAA, 0,    0,    0,   1,
                                           0x68, 0xBB, 0, 0, 0,    1,    0x65, 0xCC, 0xDD};
    ASSERT_EQ(copy->header().framesize, expected.size()) << "one byte more per short start code";
    EXPECT_EQ(std::vector<uint8_t>(copy->payload(), copy->payload() + expected.size()), expected);
    EXPECT_EQ(FrameBuffer::copySize(record.data()), rfs::kFrameHeaderSize + expected.size() + kvplay::kFrameSlack);
    for (std::size_t i = 0; i < kvplay::kFrameSlack; ++i)
        ASSERT_EQ(copy->payload()[expected.size() + i], 0);
}

TEST(FrameCopy, ManyShortStartCodesStillFitTheCopy) {
    // 100 units of one byte each: normalising adds 100 bytes, more than the 64 bytes of slack.
    std::vector<uint8_t> payload;
    for (int i = 0; i < 100; ++i)
        payload.insert(payload.end(), {0, 0, 1, 0x41});
    const auto record = frameRecord(rfs::FrameP, 1, payload);
    const auto copy = FrameBuffer::copyOf(record.data());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->header().framesize, 500u);
}

TEST(FrameCopy, AudioAndForeignPayloadsAreCopiedAsTheyAre) {
    const std::vector<uint8_t> payload = {0, 0, 1, 0x41, 0x42};
    for (const auto& record : {frameRecord(rfs::FrameAudio, 1, payload), frameRecord(rfs::FrameI, 1, payload, 4)}) {
        const auto copy = FrameBuffer::copyOf(record.data());
        ASSERT_TRUE(copy);
        EXPECT_EQ(std::vector<uint8_t>(copy->payload(), copy->payload() + copy->header().framesize), payload);
    }
}
