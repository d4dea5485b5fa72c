#include "rfssim/PictureFileWriter.h"

#include <cstring>
#include <string>

#include "rfs/FrameRecord.h"
#include "rfssim/SimError.h"
#include "rfssim/SizedRecords.h"
#include "rfssim/StillPicture.h"

namespace rfssim {
namespace {

constexpr uint32_t kEntrySize = sizeof(rfs::pic_info_t);

// The day records, one per calendar day that has pictures, in order.
std::vector<uint8_t> dayRecords(const std::vector<rfs::CalendarTime>& days) {
    std::vector<uint8_t> bytes(days.size() * kDayRecordSize);
    for (std::size_t i = 0; i < days.size(); ++i) {
        const rfs::pic_day_t day{static_cast<uint16_t>(days[i].year - 2000), static_cast<uint8_t>(days[i].month),
                                 static_cast<uint8_t>(days[i].day - 1)};
        std::memcpy(bytes.data() + i * kDayRecordSize, &day, sizeof day);
    }
    return bytes;
}

}  // namespace

ClosedDataFile writePictureFile(const DataFileLayout& layout, DataFileSlot slot, const PictureSeries& series,
                                uint32_t eseq, ByteSink& sink) {
    const int storeChannel = series.channel - 1;
    ClosedDataFile file{slot, {}, {}, {}};
    ClosedPictures& pictures = file.pictures;
    pictures.jpeg = stillPictureJpeg(series.channel, StreamKind::Main, rfs::toEpochSeconds(series.from) * 1'000'000);
    const std::vector<uint8_t>& jpeg = pictures.jpeg;
    const uint32_t recordLength = static_cast<uint32_t>(rfs::storedFrameLength(static_cast<uint32_t>(jpeg.size())));

    uint64_t block = layout.mediaStart;
    const int64_t first = rfs::toEpochSeconds(series.from);
    const int64_t end = rfs::toEpochSeconds(series.to);
    for (int64_t second = first; second < end; second += series.everySeconds) {
        const auto number = static_cast<uint32_t>(pictures.entries.size());
        const rfs::CalendarTime time = rfs::fromEpochSeconds(second);
        // The index entry of this picture and the "Pend" slot below it must stay above the data.
        const uint64_t indexLow = uint64_t{layout.size} - (uint64_t{number} + 2) * kEntrySize;
        if (block + rfs::pictureBlockLength(series.externLength, recordLength) > indexLow)
            throw SimError("the pictures of channel " + std::to_string(series.channel) +
                           " do not fit into one data file; take fewer");

        std::vector<uint8_t> record(series.externLength + recordLength, 0);
        const rfs::KVFrameHeader header =
            stillPictureHeader(rfs::FrameI, storeChannel, number, second * 1'000'000, jpeg.size());
        std::memcpy(record.data() + series.externLength, &header, sizeof header);
        std::memcpy(record.data() + series.externLength + sizeof header, jpeg.data(), jpeg.size());
        sink.writeAt(block, record);

        rfs::pic_info_t entry{};
        entry.magic = rfs::kPictureMagic;
        entry.time = rfs::packTime(time);
        entry.position = static_cast<uint32_t>(block) | series.externLength;
        entry.length = recordLength;
        entry.rec_type = series.recTypes;
        entry.pic_chn = static_cast<uint8_t>(storeChannel);
        if (series.uncountedEvery > 0 && number % static_cast<uint32_t>(series.uncountedEvery) ==
                                             static_cast<uint32_t>(series.uncountedEvery) - 1)
            entry.pic_state = 2;
        pictures.entries.push_back(entry);
        if (pictures.days.empty() || pictures.days.back().day != time.day || pictures.days.back().month != time.month ||
            pictures.days.back().year != time.year)
            pictures.days.push_back(rfs::CalendarTime{time.year, time.month, time.day, 0, 0, 0});
        block += rfs::pictureBlockLength(series.externLength, recordLength);
    }

    // The index grows downward: the first picture sits at the top of the file.
    const auto count = static_cast<uint32_t>(pictures.entries.size());
    const uint32_t indexLow = layout.size - count * kEntrySize;
    std::vector<uint8_t> index((count + 1) * kEntrySize);
    // The end marker carries where the next picture's data would go.
    rfs::pic_info_t endMarker{};
    endMarker.magic = rfs::PIC_END_MAGIC;
    endMarker.position = static_cast<uint32_t>(block);
    if (!series.powerLoss || !series.powerLoss->pendLost)
        std::memcpy(index.data(), &endMarker, sizeof endMarker);
    for (uint32_t i = 0; i < count; ++i)
        std::memcpy(index.data() + (count - i) * kEntrySize, &pictures.entries[i], kEntrySize);
    sink.writeAt(indexLow - kEntrySize, index);

    const std::vector<uint8_t> days = dayRecords(pictures.days);
    rfs::pic_mon_head_t head{};
    std::memcpy(head.text, rfs::kPicMonText, sizeof head.text);
    head.writted_count = static_cast<uint32_t>(pictures.days.size());
    head.pic_start = pictures.entries.front().time;
    head.pic_end = pictures.entries.back().time;
    head.pic_mon_offset = rfs::kPicMonPosition + sizeof head;
    head.pic_mon_size = kDayRecordSize;
    // At most 65535 days, one per picture, which fit far below the media start.
    sink.writeAt(rfs::kPicMonPosition, recordBytes(head));
    sink.writeAt(head.pic_mon_offset, days);
    pictures.picMonOffset = head.pic_mon_offset;
    pictures.dayRecordSize = kDayRecordSize;

    rfs::index_file_info& r = file.record;
    r.magic = rfs::kFileMagic;
    r.file_no = static_cast<uint16_t>(slot.index + 1);
    r.event_nr = static_cast<uint16_t>(count);
    r.state = rfs::FileInUse;
    r.chn = static_cast<uint8_t>(storeChannel);
    r.type = rfs::PictureFile;
    r.start_time = head.pic_start;
    r.end_time = head.pic_end;
    r.eseq = eseq;
    r.data_end = static_cast<uint32_t>(block);
    r.index_low = indexLow;
    r.switch_count = kSwitchCount;
    r.chn_mask[storeChannel / 32] = 1u << (storeChannel % 32);
    if (series.powerLoss) {
        // As the recorder opened the file; only the span it was meant for is known.
        r.eseq = rfs::kOpenFileSeq;
        r.event_nr = 0;
        r.data_end = rfs::kPictureBlock;
        r.index_low = layout.size;
        r.chn_mask[0] = r.chn_mask[1] = 0;
    }
    sink.writeAt(0, fileRecordBytes(r, layout.kind));
    return file;
}

}  // namespace rfssim
