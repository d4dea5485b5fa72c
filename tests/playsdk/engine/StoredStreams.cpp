#include "StoredStreams.h"

#include <map>
#include <mutex>

#include "StoredFrames.h"
#include "TempDir.h"
#include "rfssim/StoreWriter.h"

namespace {

std::vector<Record> writeAndRead(const StreamShape& shape) {
    rfssim::Scenario scenario;
    scenario.layout = rfssim::StoreLayout::Directory;
    scenario.channels = 1;
    scenario.video = rfssim::VideoSettings{shape.codec, shape.width, shape.height, 25, shape.gop, 150'000};
    rfssim::Recording recording;
    recording.from = rfs::CalendarTime{2026, 12, 1, 9, 0, 0};
    recording.to = rfs::CalendarTime{2026, 12, 1, 9, 0, shape.seconds};
    recording.audio = true;
    recording.virtualKeyFrameEvery = shape.virtualKeyFrameEvery;
    scenario.recordings.push_back(recording);

    TempDir dir;
    const rfssim::StoreManifest manifest = rfssim::writeStore(scenario, dir.path() / "store");
    std::vector<Record> records;
    for (const rfssim::WrittenFile& f : manifest.files)
        for (const rfssim::WrittenEvent& e : f.events)
            for (const StoredFrame& frame : readStoredFrames(
                     dir.path() / "store" / ("file" + std::to_string(f.fileIndex)), e.dataStart, e.dataLen)) {
                Record r(rfs::kFrameHeaderSize);
                std::memcpy(r.data(), &frame.header, rfs::kFrameHeaderSize);
                r.insert(r.end(), frame.payload.begin(), frame.payload.end());
                records.push_back(std::move(r));
            }
    return records;
}

}  // namespace

const std::vector<Record>& storedStream(const StreamShape& shape) {
    static std::mutex lock;
    static std::map<StreamShape, std::vector<Record>> streams;
    std::lock_guard guard(lock);
    auto it = streams.find(shape);
    if (it == streams.end())
        it = streams.emplace(shape, writeAndRead(shape)).first;
    return it->second;
}

std::vector<Record> videoOnly(const std::vector<Record>& records) {
    std::vector<Record> out;
    for (const Record& r : records)
        if (headerOf(r).frameType != rfs::FrameAudio)
            out.push_back(r);
    return out;
}

std::vector<Record> ofType(const std::vector<Record>& records, uint8_t type) {
    std::vector<Record> out;
    for (const Record& r : records)
        if (headerOf(r).frameType == type)
            out.push_back(r);
    return out;
}

std::vector<Record> largeVideo(int seconds) {
    StreamShape large;
    large.width = 1920;
    large.height = 1080;
    large.seconds = seconds;
    return videoOnly(storedStream(large));
}
