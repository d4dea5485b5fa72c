#include "Mp4FileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Adts.h"
#include "ByteBuffer.h"
#include "FrameHeaderTable.h"
#include "MovieParser.h"
#include "NalUnits.h"
#include "RecordCodecs.h"
#include "VoiceHeader.h"
#include "rfs/FrameRecord.h"

namespace kvplay::record {

namespace {

constexpr uint64_t kMaxMovieBox = 256u << 20;  // far beyond any recording's tables
constexpr uint64_t kMaxTable = 1u << 30;
constexpr std::size_t kMakerProbe = 64;
constexpr uint8_t kDecodeOnly = 0x01;

struct TopBox {
    char type[4];
    uint64_t offset;
    uint64_t headerSize;
    uint64_t size;
};

std::optional<TopBox> readTopBox(const InputFile& file, uint64_t at) {
    uint8_t header[16];
    if (!file.readAt(at, {header, 8}))
        return std::nullopt;
    TopBox box{};
    std::memcpy(box.type, header + 4, 4);
    box.offset = at;
    box.headerSize = 8;
    box.size = readBe32(header);
    if (box.size == 1) {
        if (!file.readAt(at + 8, {header + 8, 8}))
            return std::nullopt;
        box.size = readBe64(header + 8);
        box.headerSize = 16;
    } else if (box.size == 0) {
        box.size = file.size() - at;
    }
    if (box.size < box.headerSize || box.size > file.size() - at)
        return std::nullopt;
    return box;
}

std::optional<std::vector<uint8_t>> readBody(const InputFile& file, const TopBox& box, uint64_t limit) {
    const uint64_t size = box.size - box.headerSize;
    if (size > limit)
        return std::nullopt;
    std::vector<uint8_t> body(size);
    if (!file.readAt(box.offset + box.headerSize, body))
        return std::nullopt;
    return body;
}

}  // namespace

int Mp4FileReader::open(const std::string& path) {
    if (const int error = file_.open(path); error != 0)
        return error == ENOENT ? kNotFound : error == EACCES ? kAccessDenied : -1;
    std::vector<uint8_t> start(std::min<uint64_t>(kMakerProbe, file_.size()));
    if (!file_.readAt(0, start))
        return -1;
    if (std::search(start.begin(), start.end(), "IMKH", "IMKH" + 4) != start.end())
        return kOtherMaker;

    std::optional<std::vector<uint8_t>> moov;
    std::optional<std::vector<uint8_t>> table;
    for (uint64_t at = 0; at + 8 <= file_.size();) {
        const auto box = readTopBox(file_, at);
        if (!box)
            return -1;
        if (std::memcmp(box->type, "moof", 4) == 0)
            return -1;  // fragmented: read by the demuxer
        if (std::memcmp(box->type, "moov", 4) == 0) {
            moov = readBody(file_, *box, kMaxMovieBox);
            if (!moov)
                return -1;
        } else if (moov && std::memcmp(box->type, "free", 4) == 0 && box->size > kTableHeaderSize) {
            table = readBody(file_, *box, kMaxTable);
        }
        at += box->size;
    }
    if (!moov)
        return -1;
    if (!table)
        return kNoTable;
    return loadTables(*moov, *table);
}

int Mp4FileReader::loadTables(std::span<const uint8_t> moovBody, std::span<const uint8_t> tableBody) {
    const auto tracks = parseMovie(moovBody);
    const auto saved = parseFrameHeaderTable(tableBody);
    if (!tracks || !saved || saved->empty())
        return -1;
    auto trackOf = [&](const char* handler) -> const ParsedTrack* {
        for (const ParsedTrack& track : *tracks)
            if (track.handler == handler)
                return &track;
        return nullptr;
    };
    const ParsedTrack* video = trackOf("vide");
    if (video == nullptr)
        return -1;
    for (const ParsedTrack* track : {video, trackOf("soun")}) {
        if (track == nullptr)
            continue;
        const auto headers = std::find_if(saved->begin(), saved->end(),
                                          [&](const TrackHeaders& t) { return t.trackId == track->trackId; });
        if (headers == saved->end()) {
            if (track->samples.empty())
                continue;
            return -1;
        }
        if (headers->headers.size() != track->samples.size())
            return -1;
        for (std::size_t i = 0; i < track->samples.size(); ++i) {
            const ParsedSample& sample = track->samples[i];
            if (sample.position > file_.size() || sample.size > file_.size() - sample.position)
                return -1;
            samples_.push_back({sample.position, sample.size, track != video, headers->headers[i]});
        }
    }
    std::stable_sort(samples_.begin(), samples_.end(),
                     [](const Sample& a, const Sample& b) { return a.position < b.position; });
    listKeyFrames();
    return 0;
}

void Mp4FileReader::listKeyFrames() {
    std::optional<std::size_t> lastI;
    for (std::size_t i = 0; i < samples_.size(); ++i) {
        if (samples_[i].audio)
            continue;
        videoSamples_.push_back(i);
        const auto header = rfs::readFrameHeader(samples_[i].saved.data());
        if (header.frameType == rfs::FrameI)
            lastI = i;
        if ((header.frameType == rfs::FrameI || header.frameType == rfs::FrameVirtual) && lastI)
            keyFrames_.push_back({header.Time, i, *lastI, false});
    }
}

std::vector<uint8_t> Mp4FileReader::restoredPrefix(const Sample& sample) const {
    const auto header = rfs::readFrameHeader(sample.saved.data());
    const std::span<const uint8_t> savedPayload(sample.saved.data() + rfs::kFrameHeaderSize,
                                                kSavedHeaderSize - rfs::kFrameHeaderSize);
    if (header.codec == kCodecAac) {
        const auto adts = readAdtsHeader(savedPayload);
        if (!adts)
            return {};
        // Only 8 bytes of a 9-byte header were kept: such a frame comes back without its CRC.
        if (adts->length == 7)
            return {savedPayload.begin(), savedPayload.begin() + 7};
        const auto rebuilt = makeAdtsHeader(*adts, sample.size);
        return {rebuilt.begin(), rebuilt.end()};
    }
    if (savedPayload[0] == 0x00 && savedPayload[1] == 0x01 && readLe16(&savedPayload[2]) == sample.size / 2)
        return {savedPayload.begin(), savedPayload.begin() + kVoiceHeaderSize};
    return {};
}

int Mp4FileReader::readFrame(uint8_t* buffer, int& length) {
    if (buffer == nullptr || length < 0 || cursor_ >= samples_.size())
        return -1;
    const Sample& sample = samples_[cursor_];
    std::vector<uint8_t> stored(sample.size);
    if (!file_.readAt(sample.position, stored))
        return -1;
    auto header = rfs::readFrameHeader(sample.saved.data());
    std::vector<uint8_t> payload;
    if (sample.audio) {
        payload = restoredPrefix(sample);
        payload.insert(payload.end(), stored.begin(), stored.end());
    } else if (isAnnexBVideoCodec(header.codec)) {
        payload = toAnnexB(stored);
        if (payload.empty() && !stored.empty())
            return -1;
    } else {
        payload = std::move(stored);
    }
    if (static_cast<std::size_t>(length) < rfs::kFrameHeaderSize + payload.size())
        return -1;
    header.framesize = static_cast<uint32_t>(payload.size());
    std::size_t next = cursor_ + 1;
    if (jumpAfterReference_) {
        header.flags |= kDecodeOnly;
        next = *jumpAfterReference_;
        jumpAfterReference_.reset();
    }
    std::memcpy(buffer, &header, sizeof header);
    std::copy(payload.begin(), payload.end(), buffer + rfs::kFrameHeaderSize);
    length = static_cast<int>(rfs::kFrameHeaderSize + payload.size());
    cursor_ = next;
    return 0;
}

int Mp4FileReader::seekToTime(int64_t timeUs) {
    const auto found = std::find_if(keyFrames_.begin(), keyFrames_.end(), [&](const KeyFrame& key) {
        return !key.skipped && static_cast<int64_t>(key.timeUs) >= timeUs;
    });
    if (found == keyFrames_.end())
        return -1;
    cursor_ = found->reference;
    jumpAfterReference_.reset();
    if (found->reference != found->sample)
        jumpAfterReference_ = found->sample;
    return 0;
}

int Mp4FileReader::timeRange(int64_t& firstUs, int64_t& lastUs) {
    if (videoSamples_.empty())
        return -1;
    std::size_t first = videoSamples_.front();
    if (rfs::readFrameHeader(samples_[first].saved.data()).frameType == rfs::FrameVirtual && videoSamples_.size() > 1) {
        first = videoSamples_[1];
        if (!keyFrames_.empty())
            keyFrames_.front().skipped = true;
    }
    firstUs = static_cast<int64_t>(rfs::readFrameHeader(samples_[first].saved.data()).Time);
    lastUs = static_cast<int64_t>(rfs::readFrameHeader(samples_[videoSamples_.back()].saved.data()).Time);
    return 0;
}

int Mp4FileReader::seekToKeyFrame(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= keyFrames_.size())
        return -1;
    return seekToTime(static_cast<int64_t>(keyFrames_[static_cast<std::size_t>(index)].timeUs));
}

}  // namespace kvplay::record
