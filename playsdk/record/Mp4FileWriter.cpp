#include "Mp4FileWriter.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "Adts.h"
#include "FrameHeaderTable.h"
#include "MoovBuilder.h"
#include "NalUnits.h"
#include "RecordCodecs.h"
#include "VoiceHeader.h"
#include "rfs/FrameRecord.h"

namespace kvplay::record {

namespace {

constexpr uint32_t kVideoTimescale = 90000;

SavedHeader savedHeaderOf(std::span<const uint8_t> record) {
    SavedHeader saved{};
    std::copy_n(record.begin(), std::min(record.size(), saved.size()), saved.begin());
    return saved;
}

}  // namespace

bool Mp4FileWriter::open(const std::string& path) { return file_.open(path); }

int Mp4FileWriter::writeFrame(std::span<const uint8_t> record) {
    if (!file_.isOpen() || record.size() < rfs::kFrameHeaderSize)
        return -1;
    const rfs::KVFrameHeader header = rfs::readFrameHeader(record.data());
    if (!rfs::isFrameHeader(header) || header.framesize > record.size() - rfs::kFrameHeaderSize)
        return -1;
    record = record.first(rfs::kFrameHeaderSize + header.framesize);
    if (!keySeen_) {
        if (header.frameType != rfs::FrameI)
            return 0;
        keySeen_ = true;
        firstTimeUs_ = header.Time;
    }
    lastTimeUs_ = header.Time;
    const int result = header.frameType == rfs::FrameAudio ? writeAudio(record) : writeVideo(record);
    if (result != 0)
        return result;
    return dayChange_.check(header.Time) ? kDayChanged : 0;
}

int Mp4FileWriter::writeVideo(std::span<const uint8_t> record) {
    const rfs::KVFrameHeader header = rfs::readFrameHeader(record.data());
    const auto payload = record.subspan(rfs::kFrameHeaderSize);
    if (!video_) {
        if (!startFile(!isH265VideoCodec(header.codec)))
            return -1;
        video_ = std::make_unique<Mp4Track>(Mp4Track::Kind::Video, header.codec, kVideoTimescale, nextTrackId_++);
        video_->width = header.video.width;
        video_->height = header.video.height;
    }
    const bool key = header.frameType == rfs::FrameI;
    if (key && video_->keptFrame.empty())
        video_->keptFrame.assign(payload.begin(), payload.end());
    if (!isAnnexBVideoCodec(header.codec))
        return appendSample(*video_, record, payload) ? 0 : -1;
    return appendSample(*video_, record, toLengthPrefixed(payload)) ? 0 : -1;
}

int Mp4FileWriter::writeAudio(std::span<const uint8_t> record) {
    rfs::KVFrameHeader header = rfs::readFrameHeader(record.data());
    std::vector<uint8_t> transcoded;
    if (isG726Codec(header.codec)) {
        const auto alaw = transcoder_.toAlaw(header.codec, record.subspan(rfs::kFrameHeaderSize),
                                             header.audio.blockSize);
        if (!alaw || alaw->size() > std::numeric_limits<uint16_t>::max())
            return -1;
        header.codec = rfs::CodecG711A;
        header.framesize = static_cast<uint32_t>(alaw->size());
        header.audio.blockSize = static_cast<uint16_t>(alaw->size());
        transcoded.resize(rfs::kFrameHeaderSize);
        std::memcpy(transcoded.data(), &header, sizeof header);
        transcoded.insert(transcoded.end(), alaw->begin(), alaw->end());
        record = transcoded;
    }
    if (!audio_) {
        if (header.audio.sampleRate == 0)
            return -1;
        audio_ = std::make_unique<Mp4Track>(Mp4Track::Kind::Audio, header.codec, header.audio.sampleRate,
                                            nextTrackId_++);
        audio_->channels = header.audio.channels != 0 ? header.audio.channels : 1;
        audio_->sampleSize = header.audio.bitsPerSample != 0 ? header.audio.bitsPerSample : 16;
    }
    auto sample = record.subspan(rfs::kFrameHeaderSize);
    if (header.codec == kCodecAac) {
        if (const auto adts = readAdtsHeader(sample); adts && adts->length <= sample.size()) {
            if (audio_->keptFrame.empty())
                audio_->keptFrame.assign(sample.begin(), sample.end());
            sample = sample.subspan(adts->length);
        }
    } else if (hasVoiceHeader(sample, sample.size())) {
        sample = sample.subspan(kVoiceHeaderSize);
    }
    return appendSample(*audio_, record, sample) ? 0 : -1;
}

bool Mp4FileWriter::startFile(bool h264) {
    h264_ = h264;
    root_.push_back(std::make_unique<atom_ftyp>(h264));
    free_ = root_.emplace_back(std::make_unique<atom_free>()).get();
    mdat_ = root_.emplace_back(std::make_unique<atom_mdat>()).get();
    for (auto& box : root_)
        if (!box->build() || !box->size() || !box->write(file_))
            return false;
    return true;
}

bool Mp4FileWriter::appendSample(Mp4Track& track, std::span<const uint8_t> savedRecord,
                                 std::span<const uint8_t> bytes) {
    if (bytes.size() > std::numeric_limits<uint32_t>::max())
        return false;
    const rfs::KVFrameHeader header = rfs::readFrameHeader(savedRecord.data());
    const uint64_t position = file_.end();
    if (!file_.append(bytes))
        return false;
    track.addSample(position, static_cast<uint32_t>(bytes.size()), header.Time, header.frameType == rfs::FrameI,
                    savedHeaderOf(savedRecord));
    return true;
}

bool Mp4FileWriter::patchMediaDataSize() {
    const uint64_t media = video_->sampleBytes() + (audio_ ? audio_->sampleBytes() : 0);
    ByteBuffer header;
    if (media + 8 <= std::numeric_limits<uint32_t>::max()) {
        header.u32(static_cast<uint32_t>(media + 8));
        return file_.patch(mdat_->filePosition(), header.bytes());
    }
    // The empty free box before the media data header becomes part of a 64-bit header.
    header.u32(1);
    header.fourcc("mdat");
    header.u64(media + 16);
    return file_.patch(free_->filePosition(), header.bytes());
}

bool Mp4FileWriter::finalise() {
    if (!file_.isOpen())
        return false;
    bool ok = true;
    if (video_) {
        std::vector<TrackLayout> layouts{{video_.get(), video_->chunks()}};
        std::vector<const Mp4Track*> tracks{video_.get()};
        if (audio_) {
            layouts.push_back({audio_.get(), audio_->chunks()});
            tracks.push_back(audio_.get());
        }
        const auto moov = buildMoov(layouts, h264_, nextTrackId_);
        ok = moov->build() && moov->size() && moov->write(file_) && patchMediaDataSize();
        const auto table = buildFrameHeaderTable(tracks, file_.end());
        ok = ok && !table.empty() && file_.append(table);
    }
    return file_.close() && ok;
}

}  // namespace kvplay::record
