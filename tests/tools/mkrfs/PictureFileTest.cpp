// Picture files read back by the format's rules alone: the file record, the picture index and its end
// marker, each frame record after its leading bytes, the "PicMon_" day records and the partition's
// picture range, all against the manifest.
#include <gtest/gtest.h>

#include <cstring>

#include "RunCommand.h"
#include "StoreReadBack.h"
#include "TempDir.h"
#include "TestScenarios.h"
#include "rfs/FrameRecord.h"
#include "rfs/PictureRecords.h"
#include "rfssim/StoreWriter.h"

using namespace rfssim;

namespace {

PictureSeries series(int channel, const std::string& from, const std::string& to, int every, uint32_t types,
                     uint32_t externLength) {
    return PictureSeries{channel, at(from), at(to), every, types, externLength};
}

Scenario pictureScenario(StoreLayout layout, StoreKind kind) {
    Scenario s;
    s.layout = layout;
    s.kind = kind;
    s.channels = 40;
    s.video = tinyVideo();
    s.partitions = {PartitionSettings{4, 0x0F}};
    s.recordings = {recording(1, StreamKind::Main, "2026-12-01 09:00:00", "2026-12-01 09:00:05")};
    s.pictures = {series(2, "2026-12-01 23:59:50", "2026-12-02 00:00:10", 5, rfs::RecMotion, 0),
                  series(35, "2026-12-03 08:00:00", "2026-12-03 08:00:03", 1, rfs::RecIo, 0x234)};
    return s;
}

struct PictureStore {
    const char* name;
    StoreLayout layout;
    StoreKind kind;
};

void PrintTo(const PictureStore& c, std::ostream* os) {
    *os << c.name;
}

class PictureFiles : public ::testing::TestWithParam<PictureStore> {};

}  // namespace

TEST_P(PictureFiles, HoldWhatTheManifestSays) {
    TempDir dir;
    const StoreManifest manifest =
        writeStore(pictureScenario(GetParam().layout, GetParam().kind), dir.path() / "store");
    const WrittenStore store(dir.path() / "store", GetParam().layout);
    const uint32_t size = store.param().dataFileSize;

    int pictureFiles = 0;
    for (const WrittenFile& written : manifest.files) {
        if (written.type != rfs::PictureFile)
            continue;
        ++pictureFiles;
        const rfs::index_file_info file = store.fileRecord(written.partition, written.fileIndex);
        const DataFileReader read = store.dataFile(written.partition, written.fileIndex);
        const auto count = static_cast<uint32_t>(written.pictures.size());
        EXPECT_EQ(file.type, rfs::PictureFile);
        EXPECT_EQ(file.event_nr, count);
        EXPECT_EQ(file.index_low, size - count * sizeof(rfs::pic_info_t));
        EXPECT_EQ(std::make_pair(file.chn_mask[0], file.chn_mask[1]),
                  written.storeChannel < 32 ? std::make_pair(1u << written.storeChannel, 0u)
                                            : std::make_pair(0u, 1u << (written.storeChannel - 32)));
        EXPECT_EQ(file.magic, rfs::kFileMagic);
        EXPECT_TRUE(read(0, fileRecordLength(store.kind())) ==
                    store.fileRecordBytes(written.partition, written.fileIndex))
            << "the data file begins with its record, 120 bytes on an SD card";
        EXPECT_EQ(recordAt<rfs::pic_info_t>(read(file.index_low - 32, 32), 0).magic, rfs::PIC_END_MAGIC);

        // Entry n from the index's low end is the n-th newest picture.
        const std::vector<uint8_t> index = read(file.index_low, count * sizeof(rfs::pic_info_t));
        for (uint32_t i = 0; i < count; ++i) {
            const WrittenPicture& picture = written.pictures[i];
            const auto entry = recordAt<rfs::pic_info_t>(index, (count - 1 - i) * sizeof(rfs::pic_info_t));
            EXPECT_EQ(entry.magic, rfs::kPictureMagic);
            EXPECT_EQ(entry.time, rfs::packTime(picture.time));
            EXPECT_EQ(entry.position, picture.position);
            EXPECT_EQ(entry.length, picture.length);
            EXPECT_EQ(entry.rec_type, picture.recType);
            EXPECT_EQ(entry.pic_chn, written.storeChannel);

            const uint32_t block = rfs::pictureBlockPosition(entry.position);
            EXPECT_GE(block, rfs::mediaStart(size));
            const std::vector<uint8_t> bytes = read(block, rfs::pictureBlockLength(entry.position, entry.length));
            const uint32_t leading = rfs::externLength(entry.position);
            const rfs::KVFrameHeader header = rfs::readFrameHeader(bytes.data() + leading);
            EXPECT_TRUE(rfs::isFrameHeader(header));
            EXPECT_EQ(header.codec, rfs::CodecMjpeg);
            EXPECT_EQ(header.channel, written.storeChannel);
            EXPECT_EQ(header.frameNo, picture.frameNo);
            EXPECT_EQ(header.Time / 1'000'000, static_cast<uint64_t>(rfs::toEpochSeconds(picture.time)));
            EXPECT_EQ(rfs::storedFrameLength(header.framesize), entry.length);
            const uint8_t* payload = bytes.data() + leading + rfs::kFrameHeaderSize;
            EXPECT_TRUE(std::equal(written.jpeg.begin(), written.jpeg.end(), payload));
        }

        const auto head = recordAt<rfs::pic_mon_head_t>(read(rfs::kPicMonPosition, 32), 0);
        EXPECT_EQ(std::string(head.text), "PicMon_");
        EXPECT_EQ(head.writted_count, written.pictureDays.size());
        EXPECT_EQ(head.pic_start, file.start_time);
        EXPECT_EQ(head.pic_end, file.end_time);
        EXPECT_EQ(head.pic_mon_offset, written.picMonOffset);
        const std::vector<uint8_t> days = read(head.pic_mon_offset, head.writted_count * head.pic_mon_size);
        for (std::size_t d = 0; d < written.pictureDays.size(); ++d) {
            const auto day = recordAt<rfs::pic_day_t>(days, d * head.pic_mon_size);
            EXPECT_EQ(day.year + 2000, written.pictureDays[d].year);
            EXPECT_EQ(day.month, written.pictureDays[d].month);
            EXPECT_EQ(day.day + 1, written.pictureDays[d].day);
        }
    }
    ASSERT_EQ(pictureFiles, 2);

    // Two days for the pictures around midnight, one picture every 5 s, and the leading bytes asked for.
    const WrittenFile& midnight = manifest.files[1];
    EXPECT_EQ(midnight.pictures.size(), 4u);
    EXPECT_EQ(midnight.pictureDays.size(), 2u);
    EXPECT_EQ(rfs::externLength(manifest.files[2].pictures[0].position), 0x234u);

    const rfs::part_info_t part = store.partInfo(0);
    EXPECT_EQ(rfs::formatTime(rfs::unpackTime(part.pic_start)), "2026-12-01 23:59:50");
    EXPECT_EQ(rfs::formatTime(rfs::unpackTime(part.pic_end)), "2026-12-03 08:00:02");
    EXPECT_EQ(rfs::formatTime(rfs::unpackTime(part.rec_end)), "2026-12-01 09:00:04");
}

TEST(PictureFile, CarriesAJpegThatFfprobeReads) {
    TempDir dir;
    const StoreManifest manifest =
        writeStore(pictureScenario(StoreLayout::Directory, StoreKind::HardDisk), dir.path() / "store");
    const std::vector<uint8_t>& jpeg = manifest.files[1].jpeg;
    const auto path = dir.path() / "picture.jpg";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
    const CommandResult probe =
        runCommand(std::string(FFPROBE_PATH) + " -v error -show_entries stream=codec_name,width,height -of csv=p=0 " +
                   path.string());
    ASSERT_EQ(probe.exitStatus, 0) << probe.err;
    EXPECT_EQ(probe.out, "mjpeg,64,48\n");
}

INSTANTIATE_TEST_SUITE_P(Stores, PictureFiles,
                         ::testing::Values(PictureStore{"raw", StoreLayout::RawImage, StoreKind::HardDisk},
                                           PictureStore{"dir", StoreLayout::Directory, StoreKind::HardDisk},
                                           PictureStore{"sd", StoreLayout::Directory, StoreKind::SdCard}),
                         [](const auto& info) { return std::string(info.param.name); });
