#include "DataFileCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

using rfssim::StoreKind;

constexpr uint32_t kMobit = sizeof(rfs::mobit_info_t);

struct KeyFrame {
    const WalkedFrame* frame;
    const WalkedFrame* reference;  // the GOP's I frame
};

void expectFrameNumber(std::optional<uint32_t>& next, uint32_t frameNo, const char* what) {
    if (next) {
        EXPECT_EQ(frameNo, *next) << what << " frame numbers must count up by one";
    }
    next = frameNo + 1;
}

std::vector<KeyFrame> expectFrameHeaders(const WalkedEvent& frames, const rfs::index_file_info& file,
                                         uint64_t& lastTime, std::optional<uint32_t>& nextVideoNo,
                                         std::optional<uint32_t>& nextAudioNo) {
    std::vector<KeyFrame> keyFrames;
    const WalkedFrame* gopStart = nullptr;
    for (const WalkedFrame& f : frames) {
        const rfs::KVFrameHeader& h = f.header;
        SCOPED_TRACE("frame record at " + std::to_string(f.offset));
        EXPECT_EQ(h.channel, file.chn & 0x7f);
        EXPECT_EQ(h.flags, 0);
        EXPECT_EQ(h.timestamp, h.Time);
        EXPECT_GE(h.Time, lastTime) << "frames must follow in capture order";
        lastTime = h.Time;
        if (h.frameType == rfs::FrameAudio) {
            EXPECT_EQ(h.codec, rfs::CodecG711A);
            EXPECT_EQ(h.audio.sampleRate, 8000u);
            EXPECT_EQ(h.audio.channels, 1);
            EXPECT_EQ(h.audio.bitsPerSample, 16);
            EXPECT_EQ(h.audio.blockSize, h.framesize);
            expectFrameNumber(nextAudioNo, h.frameNo, "audio");
            continue;
        }
        EXPECT_TRUE(h.codec == rfs::CodecH264 || h.codec == rfs::CodecH265) << int{h.codec};
        EXPECT_EQ(h.video.standard, 'N');
        expectFrameNumber(nextVideoNo, h.frameNo, "video");
        if (h.frameType == rfs::FrameI) {
            gopStart = &f;
            EXPECT_EQ(h.video.videoFlags, 0);
            keyFrames.push_back(KeyFrame{&f, &f});
        } else if (h.frameType == rfs::FrameVirtual) {
            if (!gopStart) {
                ADD_FAILURE() << "virtual key frame before any I frame";
                continue;
            }
            EXPECT_EQ(h.video.videoFlags >> 2, h.frameNo - gopStart->header.frameNo)
                << "distance to the reference I frame";
            keyFrames.push_back(KeyFrame{&f, gopStart});
        } else {
            EXPECT_EQ(h.video.videoFlags, 0);
        }
    }
    return keyFrames;
}

void expectDiskEntry(const rfs::iframe_info_t& entry, const KeyFrame& keyFrame) {
    const WalkedFrame& frame = *keyFrame.frame;
    EXPECT_EQ(entry.magic, rfs::kIFrameMagic);
    EXPECT_EQ(entry.offset, frame.offset);
    EXPECT_EQ(entry.length, frame.length);
    EXPECT_EQ(entry.time, packedSecondOf(frame.header));
    EXPECT_EQ(entry.ref_offset, keyFrame.reference->offset);
    EXPECT_EQ(entry.ref_length, keyFrame.reference->length);
}

void expectCardEntry(const rfs::iframe_info_sd_t& entry, const KeyFrame& keyFrame) {
    const WalkedFrame& frame = *keyFrame.frame;
    EXPECT_EQ(entry.magic, rfs::kIFrameMagic);
    EXPECT_EQ(entry.index_data_start, frame.offset);
    EXPECT_EQ(entry.time, packedSecondOf(frame.header));
    EXPECT_EQ(entry.reserved12, 0u);
    EXPECT_EQ(frame.header.frameType, rfs::FrameI) << "an SD card lists I frames only";
}

void expectKeyFrameEntries(const DataFileReader& read, StoreKind kind, const rfs::index_event_info& event,
                           const std::vector<KeyFrame>& keyFrames) {
    const uint32_t entrySize = keyFrameEntryLength(kind);
    ASSERT_GE(event.kf_top, event.kf_low + entrySize);
    ASSERT_EQ((event.kf_top - event.kf_low) / entrySize, keyFrames.size()) << "one entry per I and virtual key frame";
    const std::vector<uint8_t> block = read(event.kf_low, event.kf_top - event.kf_low);
    for (std::size_t k = 0; k < keyFrames.size(); ++k) {
        // The first entry sits just below kf_top; later ones lie lower.
        const std::size_t at = block.size() - (k + 1) * entrySize;
        SCOPED_TRACE("key-frame entry " + std::to_string(k));
        if (kind == StoreKind::SdCard)
            expectCardEntry(recordAt<rfs::iframe_info_sd_t>(block, at), keyFrames[k]);
        else
            expectDiskEntry(recordAt<rfs::iframe_info_t>(block, at), keyFrames[k]);
    }
}

void expectMotionBits(const DataFileReader& read, const rfs::index_event_info& event, const WalkedEvent& frames) {
    const int64_t seconds =
        static_cast<int64_t>(frames.back().header.Time / 1'000'000 - frames.front().header.Time / 1'000'000) + 1;
    ASSERT_EQ(event.mobit_end, event.mobit_start + seconds * kMobit) << "one motion-bit record per second";
    const std::vector<uint8_t> records = read(event.mobit_start, event.mobit_end + kMobit - event.mobit_start);
    for (int64_t m = 0; m < seconds; ++m) {
        const auto record = recordAt<rfs::mobit_info_t>(records, m * kMobit);
        EXPECT_EQ(record.magic, rfs::kMobitMagic) << "record " << m;
        EXPECT_NE(record.magic2, rfs::kMobitEndMagic) << "record " << m;
    }
    const auto marker = recordAt<rfs::mobit_info_t>(records, seconds * kMobit);
    EXPECT_EQ(marker.magic, rfs::kMobitMagic);
    EXPECT_EQ(marker.magic2, rfs::kMobitEndMagic) << "end marker";
}

}  // namespace

void expectThumbnail(const DataFileReader& read, const rfs::index_event_info& event,
                     const rfs::KVFrameHeader& firstFrame) {
    const uint32_t offset = event.mobit_start;
    const uint32_t length = event.mobit_end;
    EXPECT_TRUE(offset + length <= event.data_start || offset >= event.data_start + event.data_len)
        << "the thumbnail at " << offset << " overlaps the event's frames";
    ASSERT_GT(length, rfs::kFrameHeaderSize + 4) << "no room for a JPEG";
    const std::vector<uint8_t> bytes = read(offset, length);
    const rfs::KVFrameHeader h = rfs::readFrameHeader(bytes.data());
    EXPECT_EQ(h.FrameTag, rfs::KVFrameTag);
    EXPECT_EQ(h.frameType, rfs::FrameThumbnail);
    EXPECT_EQ(h.codec, rfs::CodecMjpeg);
    EXPECT_EQ(h.channel, firstFrame.channel);
    EXPECT_EQ(h.Time, firstFrame.Time) << "a picture of the event's first frame";
    EXPECT_EQ(rfs::kFrameHeaderSize + h.framesize, length) << "the length covers the header and the JPEG";
    const std::vector<uint8_t> soi(bytes.begin() + rfs::kFrameHeaderSize, bytes.begin() + rfs::kFrameHeaderSize + 2);
    const std::vector<uint8_t> eoi(bytes.end() - 2, bytes.end());
    EXPECT_EQ(soi, (std::vector<uint8_t>{0xFF, 0xD8})) << "JPEG start marker";
    EXPECT_EQ(eoi, (std::vector<uint8_t>{0xFF, 0xD9})) << "JPEG end marker";
}

rfs::PackedTime packedSecondOf(const rfs::KVFrameHeader& header) {
    return rfs::packTime(rfs::fromEpochSeconds(static_cast<int64_t>(header.Time / 1'000'000)));
}

std::vector<WalkedEvent> walkEvents(const DataFileReader& read, const std::vector<rfs::index_event_info>& events) {
    std::vector<WalkedEvent> walked;
    for (const rfs::index_event_info& event : events) {
        WalkedEvent frames;
        const std::vector<uint8_t> bytes = read(event.data_start, event.data_len);
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            if (pos + rfs::kFrameHeaderSize > bytes.size()) {
                ADD_FAILURE() << "a frame header runs past data_len at " << event.data_start + pos;
                break;
            }
            const rfs::KVFrameHeader header = rfs::readFrameHeader(bytes.data() + pos);
            const uint64_t length = rfs::storedFrameLength(header.framesize);
            if (!rfs::isFrameHeader(header) || pos + length > bytes.size()) {
                ADD_FAILURE() << "no complete frame record at " << event.data_start + pos;
                break;
            }
            const auto payload = bytes.begin() + static_cast<std::ptrdiff_t>(pos + rfs::kFrameHeaderSize);
            frames.push_back(WalkedFrame{header, static_cast<uint32_t>(event.data_start + pos),
                                         static_cast<uint32_t>(length),
                                         std::vector<uint8_t>(payload, payload + header.framesize)});
            pos += length;
        }
        walked.push_back(std::move(frames));
    }
    return walked;
}

std::vector<WalkedEvent> expectConsistentDataFile(const DataFileReader& read, const rfssim::DataFileLayout& layout,
                                                  const rfs::index_file_info& file,
                                                  const std::vector<rfs::index_event_info>& events) {
    const bool card = layout.kind == StoreKind::SdCard;
    EXPECT_EQ(file.magic, rfs::kFileMagic);
    EXPECT_TRUE(file.state >= rfs::FileInUse && file.state <= rfs::FileRepaired) << "state " << int{file.state};
    EXPECT_EQ(file.type, rfs::RecordingFile);
    EXPECT_EQ(file.event_nr, events.size());
    if (events.empty()) {
        ADD_FAILURE() << "a file in use without events";
        return {};
    }
    const std::vector<uint8_t> head = read(0, fileRecordLength(layout.kind));
    EXPECT_EQ(std::memcmp(head.data(), &file, sizeof file), 0) << "the data file must begin with its record";
    EXPECT_TRUE(std::all_of(head.begin() + sizeof file, head.end(), [](uint8_t b) { return b == 0; }))
        << "an SD card's file record ends in zeros";

    const std::vector<WalkedEvent> walked = walkEvents(read, events);
    const uint32_t entrySize = keyFrameEntryLength(layout.kind);
    uint32_t dataEnd = layout.mediaStart;
    uint32_t kfTop = layout.size;
    uint32_t mobitStart = rfs::kMobitStart;
    uint64_t lastTime = 0;
    std::optional<uint32_t> nextVideoNo, nextAudioNo;
    uint32_t dayBits[16] = {};
    rfs::PackedTime start = events.front().start_time;
    rfs::PackedTime end = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const rfs::index_event_info& event = events[i];
        const WalkedEvent& frames = walked[i];
        SCOPED_TRACE("event " + std::to_string(i + 1));
        EXPECT_TRUE(event.magic == rfs::kEventMagic || event.magic == rfs::kEventWritingMagic) << event.magic;
        EXPECT_EQ(event.event_no, i + 1);
        EXPECT_EQ(event.norm, 1);
        EXPECT_EQ(event.res, 0);
        if (card) {
            EXPECT_EQ(event.mobit_start, dataEnd) << "the thumbnail follows the previous event";
            EXPECT_EQ(event.data_start,
                      event.mobit_start + rfs::storedFrameLength(event.mobit_end - rfs::kFrameHeaderSize))
                << "the frames follow their thumbnail";
        } else {
            EXPECT_EQ(event.data_start, dataEnd) << "events follow each other without gaps";
            EXPECT_EQ(event.mobit_start, mobitStart);
        }
        EXPECT_EQ(event.kf_top, kfTop) << "key-frame entries continue below the previous event's";
        if (frames.empty()) {
            ADD_FAILURE() << "event without frames";
            continue;
        }
        EXPECT_EQ(frames.front().header.frameType, rfs::FrameI) << "an event starts with a key frame";
        EXPECT_EQ(event.start_time, packedSecondOf(frames.front().header));
        EXPECT_EQ(event.end_time, packedSecondOf(frames.back().header));

        const std::vector<KeyFrame> keyFrames = expectFrameHeaders(frames, file, lastTime, nextVideoNo, nextAudioNo);
        expectKeyFrameEntries(read, layout.kind, event, keyFrames);
        if (card) {
            expectThumbnail(read, event, frames.front().header);
        } else {
            expectMotionBits(read, event, frames);
            mobitStart = event.mobit_end + kMobit;
        }

        const int day = rfs::unpackTime(event.start_time).day;
        for (int type = 0; type < 16; ++type)
            if (event.rec_type & (1u << type))
                dayBits[type] |= 1u << (day - 1);
        start = std::min(start, event.start_time);
        end = std::max(end, event.end_time);
        dataEnd = event.data_start + event.data_len;
        kfTop = event.kf_low;
    }
    EXPECT_EQ(file.data_end, dataEnd);
    EXPECT_EQ(file.index_low, kfTop);
    EXPECT_EQ(file.mobit_end, mobitStart) << "after the last motion-bit end marker; 4096 without any, as on an SD card";
    EXPECT_LE(file.mobit_end, layout.mediaStart) << "motion bits must stay below the media start";
    EXPECT_LE(file.data_end, file.index_low - entrySize) << "frames must leave room for the Iend slot";
    EXPECT_EQ(recordAt<uint32_t>(read(file.index_low - entrySize, entrySize), 0), rfs::kIFrameEndMagic)
        << "Iend slot below the lowest entry";
    EXPECT_EQ(file.start_time, start);
    EXPECT_EQ(file.end_time, end);
    for (int type = 0; type < 16; ++type)
        EXPECT_EQ(file.day_bits[type], dayBits[type]) << "day_bits[" << type << "]";
    return walked;
}
