// The record file framework: the format a path asks for, the start-code form of video payloads, and the
// record file calls of the library's C interface.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <regex>
#include <string>

#include "ExportedSymbols.h"
#include "KVPlay.h"
#include "Mp4Fixture.h"
#include "RecordFileFormat.h"
#include "StartCodeNormalizer.h"

namespace {

using kvplay::record::RecordFileFormat;
using rfssim::VideoCodecKind;
using Bytes = std::vector<uint8_t>;

TEST(RecordFileFormatTest, FollowsTheFirstThreeCharactersAfterTheLastDot) {
    struct Case {
        const char* path;
        std::optional<RecordFileFormat> format;
    };
    const Case cases[] = {
        {"/x/rec.mp4", RecordFileFormat::Mp4},
        {"/x/rec.avi", RecordFileFormat::Avi},
        {"/x/rec.AVI", RecordFileFormat::Private},  // the comparison is case-sensitive
        {"/x/rec.MP4", RecordFileFormat::Private},
        {"/x/rec.mp4v", RecordFileFormat::Mp4},
        {"/x/rec.mp", RecordFileFormat::Private},
        {"/x/rec.tar.avi", RecordFileFormat::Avi},
        {"/x/rec.", RecordFileFormat::Private},
        {"/x.d/rec", RecordFileFormat::Private},  // the last '.' may sit in a folder name
        {"/x/rec", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kvplay::record::recordFileFormat(c.path), c.format) << c.path;
}

rfs::KVFrameHeader header(uint8_t type, uint8_t codec, uint32_t tag = rfs::KVFrameTag) {
    rfs::KVFrameHeader h{};
    h.FrameTag = tag;
    h.frameType = type;
    h.codec = codec;
    h.frameNo = 7;
    h.Time = kStartUs;
    return h;
}

TEST(StartCodeNormalizerTest, WidensEveryStartCodeToFourBytes) {
    struct Case {
        const char* name;
        Bytes payload;
        Bytes expected;
    };
    const Case cases[] = {
        {"three-byte codes", {0, 0, 1, 0x67, 5, 0, 0, 1, 0x68, 6}, {0, 0, 0, 1, 0x67, 5, 0, 0, 0, 1, 0x68, 6}},
        {"mixed codes", {0, 0, 1, 0x67, 5, 0, 0, 0, 1, 0x68, 6}, {0, 0, 0, 1, 0x67, 5, 0, 0, 0, 1, 0x68, 6}},
        {"bytes before the first code", {9, 0, 0, 1, 0x65}, {0, 0, 0, 1, 9, 0, 0, 0, 1, 0x65}},
        {"no start code at all", {0x65, 1, 2, 0}, {0x65, 1, 2, 0}},
    };
    for (const Case& c : cases) {
        const rfs::KVFrameHeader h = header(rfs::FrameI, rfs::CodecH264);
        ASSERT_TRUE(kvplay::record::needsStartCodeNormalization(h, c.payload)) << c.name;
        Bytes out(rfs::kFrameHeaderSize + 64, 0xee);
        const int64_t length = kvplay::record::normalizeStartCodes(h, c.payload, out);
        ASSERT_EQ(length, static_cast<int64_t>(c.expected.size())) << c.name;
        const rfs::KVFrameHeader written = rfs::readFrameHeader(out.data());
        EXPECT_EQ(written.framesize, c.expected.size()) << c.name;
        EXPECT_EQ(written.frameNo, h.frameNo) << c.name;
        EXPECT_EQ(written.Time, h.Time) << c.name;
        EXPECT_EQ(Bytes(out.begin() + rfs::kFrameHeaderSize, out.begin() + rfs::kFrameHeaderSize + length), c.expected)
            << c.name;
    }
}

TEST(StartCodeNormalizerTest, LeavesOtherRecordsAlone) {
    const Bytes threeByte = {0, 0, 1, 0x65, 1};
    const Bytes fourByte = {0, 0, 0, 1, 0x65, 0, 0, 1, 0x41};
    struct Case {
        const char* name;
        rfs::KVFrameHeader header;
        const Bytes& payload;
        bool normalized;
    };
    const Case cases[] = {
        {"H.264 with 3-byte codes", header(rfs::FrameP, 2), threeByte, true},
        {"H.265 with 3-byte codes", header(rfs::FrameVirtual, 10), threeByte, true},
        {"already beginning with 00 00 00 01", header(rfs::FrameI, rfs::CodecH264), fourByte, false},
        {"audio", header(rfs::FrameAudio, rfs::CodecH264), threeByte, false},
        {"MJPEG", header(rfs::FrameI, rfs::CodecMjpeg), threeByte, false},
        {"another tag", header(rfs::FrameI, rfs::CodecH264, 0x12345678), threeByte, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kvplay::record::needsStartCodeNormalization(c.header, c.payload), c.normalized) << c.name;
}

TEST(StartCodeNormalizerTest, RefusesWhatDoesNotFit) {
    const Bytes payload = {0, 0, 1, 0x65, 1, 2, 3};
    Bytes out(rfs::kFrameHeaderSize + 7);  // one byte short of the widened payload
    EXPECT_EQ(kvplay::record::normalizeStartCodes(header(rfs::FrameI, rfs::CodecH264), payload, out), -1);
}

struct RecordFileCloser {
    void operator()(void* file) const { KVPlayDestroyRecordFile(file); }
};
using RecordFileHandle = std::unique_ptr<void, RecordFileCloser>;

class RecordFileExportsTest : public Mp4Fixture {
protected:
    // Writes the records through the C interface; the results of every input in order.
    std::vector<int> exportRecords(const std::filesystem::path& path, const std::vector<Bytes>& records) {
        void* file = KVPlayCreateRecordFile(path.c_str(), 0);
        EXPECT_NE(file, nullptr);
        std::vector<int> results;
        for (const Bytes& record : records)
            results.push_back(KVPlayInputRecordFile(file, record.data(), static_cast<int>(record.size()), 0));
        EXPECT_EQ(KVPlayDestroyRecordFile(file), 0);
        return results;
    }

    // Every start code of each payload shortened to three bytes, the first one included, so that every
    // record goes through the normalisation.
    static std::vector<Bytes> withThreeByteStartCodes(const std::vector<Bytes>& records) {
        std::vector<Bytes> out;
        for (const Bytes& record : records) {
            Bytes payload;
            for (std::size_t i = rfs::kFrameHeaderSize; i < record.size(); ++i) {
                const bool longCode = i + 4 <= record.size() && record[i] == 0 && record[i + 1] == 0 &&
                                      record[i + 2] == 0 && record[i + 3] == 1;
                if (!longCode)
                    payload.push_back(record[i]);
            }
            out.push_back(makeRecord(rfs::readFrameHeader(record.data()), payload));
        }
        return out;
    }
};

TEST_F(RecordFileExportsTest, LibraryExportsExactlyTheFunctionsItsHeaderDeclares) {
    std::ifstream header(KVPLAY_HEADER);
    const std::string text((std::istreambuf_iterator<char>(header)), std::istreambuf_iterator<char>());
    const std::regex declaration(R"(\nKVPLAY_API[^(;]*?\b(\w+)\()");
    std::set<std::string> declared;
    for (auto m = std::sregex_iterator(text.begin(), text.end(), declaration); m != std::sregex_iterator(); ++m)
        declared.insert((*m)[1]);
    EXPECT_TRUE(declared.count("KVPlayCreateRecordFile") && declared.count("KVPlayInputNetFrame"));
    EXPECT_EQ(exportedSymbols(KVPLAY_PATH), declared);
}

TEST_F(RecordFileExportsTest, RefusesPathsItCannotRecordTo) {
    EXPECT_EQ(KVPlayCreateRecordFile(nullptr, 0), nullptr);
    EXPECT_EQ(KVPlayCreateRecordFile((dir.path() / "rec").c_str(), 0), nullptr) << "no extension";
    EXPECT_EQ(KVPlayCreateRecordFile((dir.path() / "missing" / "rec.mp4").c_str(), 0), nullptr) << "no folder";
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "rec"));
}

TEST_F(RecordFileExportsTest, RefusesNullAndMalformedRecords) {
    RecordFileHandle file(KVPlayCreateRecordFile((dir.path() / "rec.mp4").c_str(), 0));
    ASSERT_NE(file, nullptr);
    const Bytes record = videoRecord(rfs::CodecH264, true, 0, kStartUs, 160, 96, Bytes{0, 0, 1, 0x65, 1});
    EXPECT_EQ(KVPlayInputRecordFile(nullptr, record.data(), static_cast<int>(record.size()), 0), -1);
    EXPECT_EQ(KVPlayInputRecordFile(file.get(), nullptr, static_cast<int>(record.size()), 0), -1);
    EXPECT_EQ(KVPlayInputRecordFile(file.get(), record.data(), 20, 0), -1) << "shorter than a header";
    EXPECT_EQ(KVPlayInputRecordFile(file.get(), record.data(), static_cast<int>(record.size()) - 1, 0), -1)
        << "payload cut short";
    EXPECT_EQ(KVPlayDestroyRecordFile(nullptr), -1);
}

TEST_F(RecordFileExportsTest, WritesThreeByteStartCodePayloadsAsWholeUnits) {
    const auto records = withThreeByteStartCodes(videoRecords(VideoCodecKind::H264, 1, evenTimes(20), 10));
    const auto path = dir.path() / "rec.mp4";
    EXPECT_EQ(exportRecords(path, records), std::vector<int>(records.size(), 0));

    EXPECT_EQ(frameChecksums("-i " + quoted(path), "v"), frameChecksums("-i " + quoted(sourceStream), "v", kRawSource));
    kvplay::record::CKVMP4RecordFile reader;
    ASSERT_EQ(reader.Open(path.c_str(), true, 0, 0, false, nullptr), 0);
    const auto readBack = readAllRecords(reader);
    ASSERT_EQ(readBack.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(Bytes(readBack[i].begin() + rfs::kFrameHeaderSize, readBack[i].end()),
                  withFourByteStartCodes(std::span(records[i]).subspan(rfs::kFrameHeaderSize)))
            << "record " << i;
}

// A key frame of a high-resolution camera can outgrow the 2 MiB work buffer that normalisation starts with.
TEST_F(RecordFileExportsTest, NormalisesRecordsLargerThanTheWorkBuffer) {
    auto records = withThreeByteStartCodes(videoRecords(VideoCodecKind::H264, 1, evenTimes(2), 10));
    Bytes large = {0, 0, 1, 0x41};
    large.resize(3 << 20, 0x5A);
    records.push_back(videoRecord(rfs::CodecH264, false, 2, kStartUs + 2 * kFrameUs, 160, 96, large));
    const auto path = dir.path() / "rec.mp4";
    EXPECT_EQ(exportRecords(path, records), std::vector<int>(records.size(), 0));

    kvplay::record::CKVMP4RecordFile reader;
    ASSERT_EQ(reader.Open(path.c_str(), true, 0, 0, false, nullptr), 0);
    std::vector<uint8_t> buffer(4 << 20);
    int length = 0;
    for (int i = 0; i < 3; ++i) {
        length = static_cast<int>(buffer.size());
        ASSERT_EQ(reader.ReadFrame(buffer.data(), length), 0) << "record " << i;
    }
    EXPECT_EQ(Bytes(buffer.begin() + rfs::kFrameHeaderSize, buffer.begin() + length), withFourByteStartCodes(large));
}

TEST_F(RecordFileExportsTest, ReportsTheDayChangeAsAcceptedNotFailed) {
    // 2 s of frames from one second before midnight.
    constexpr int64_t kToMidnightUs = 50'200'000'000 - 1'000'000;
    std::vector<int64_t> times = evenTimes(50);
    for (int64_t& t : times)
        t += kToMidnightUs;
    const auto records = videoRecords(VideoCodecKind::H264, 1, times, 25);
    const std::vector<int> results = exportRecords(dir.path() / "rec.mp4", records);
    EXPECT_EQ(std::count(results.begin(), results.end(), -1), 0);
    EXPECT_EQ(std::count(results.begin(), results.end(), KVPLAY_RECORD_DAY_CHANGED), 1);
    EXPECT_EQ(probe(dir.path() / "rec.mp4")["streams"][0]["nb_frames"], "50");
}

}  // namespace
