#include "ScenarioStores.h"

#include <map>
#include <memory>

#include "TempDir.h"
#include "rfssim/ScenarioJson.h"
#include "rfssim/StoreWriter.h"

namespace {

struct HeldStore {
    TempDir dir;
    ScenarioStore store;
};

const ScenarioStore& written(const std::string& name, const rfssim::Scenario& scenario) {
    static std::map<std::string, std::unique_ptr<HeldStore>> stores;
    std::unique_ptr<HeldStore>& held = stores[name];
    if (!held) {
        held = std::make_unique<HeldStore>();
        held->store.path = held->dir.path() / name;
        held->store.channels = scenario.channels;
        held->store.manifest = rfssim::writeStore(scenario, held->store.path);
    }
    return held->store;
}

rfssim::Recording recording(int channel, rfssim::StreamKind stream, rfs::CalendarTime from, rfs::CalendarTime to,
                            uint32_t types, uint8_t flag = 0) {
    rfssim::Recording r;
    r.channel = channel;
    r.stream = stream;
    r.from = from;
    r.to = to;
    r.recTypes = types;
    r.flag = flag;
    return r;
}

rfs::CalendarTime at(int month, int day, int hour, int minute, int second) {
    return rfs::CalendarTime{2026, month, day, hour, minute, second};
}

// Moves a time towards `base` so that its distance from it shrinks tenfold.
rfs::CalendarTime shortened(const rfs::CalendarTime& t, const rfs::CalendarTime& base) {
    const int64_t origin = rfs::toEpochSeconds(base);
    return rfs::fromEpochSeconds(origin + (rfs::toEpochSeconds(t) - origin) / 10);
}

}  // namespace

rfssim::VideoSettings tinyVideo() {
    return rfssim::VideoSettings{rfssim::VideoCodecKind::H264, 160, 96, 5, 10, 100'000};
}

const ScenarioStore& mixedStore(rfssim::StoreLayout layout) {
    using rfssim::StreamKind;
    rfssim::Scenario s;
    s.layout = layout;
    s.channels = 3;
    s.partitions = {rfssim::PartitionSettings{16, 0x0F}};
    s.video = tinyVideo();
    s.subVideo = tinyVideo();
    s.recordings = {
        recording(1, StreamKind::Main, at(12, 1, 9, 0, 0), at(12, 1, 9, 0, 20), rfs::RecNormal),
        recording(1, StreamKind::Sub, at(12, 1, 9, 0, 0), at(12, 1, 9, 0, 20), rfs::RecNormal),
        recording(2, StreamKind::Main, at(12, 1, 9, 0, 0), at(12, 1, 9, 0, 10), rfs::RecNormal),
        recording(2, StreamKind::Main, at(12, 1, 9, 0, 10), at(12, 1, 9, 0, 20), rfs::RecNormal | rfs::RecMotion, 2),
        recording(2, StreamKind::Main, at(12, 1, 9, 0, 30), at(12, 1, 9, 0, 40), rfs::RecNormal, 1),
        recording(3, StreamKind::Main, at(12, 1, 23, 59, 50), at(12, 2, 0, 0, 10), rfs::RecNormal),
        recording(3, StreamKind::Main, at(12, 5, 10, 0, 0), at(12, 5, 10, 0, 5), 1u << 5),
        recording(3, StreamKind::Sub, at(12, 5, 10, 0, 0), at(12, 5, 10, 0, 5), rfs::RecIo),
        recording(1, StreamKind::Main, at(11, 30, 12, 0, 0), at(11, 30, 12, 0, 5), rfs::RecMotion),
    };
    return written(layout == rfssim::StoreLayout::Directory ? "mixed-store" : "mixed.img", s);
}

const ScenarioStore& shortDemoStore() {
    rfssim::Scenario s = rfssim::loadScenarioFile(DEMO_SCENARIO);
    s.video = tinyVideo();
    s.subVideo = tinyVideo();
    const rfs::CalendarTime base = s.recordings.front().from;
    for (rfssim::Recording& r : s.recordings) {
        r.from = shortened(r.from, base);
        r.to = shortened(r.to, base);
        r.eventSeconds /= 10;
    }
    return written("demo-store", s);
}

const ScenarioStore& exportStore(rfssim::VideoCodecKind codec, rfssim::StoreKind kind) {
    using rfssim::StreamKind;
    rfssim::Scenario s;
    s.layout = rfssim::StoreLayout::Directory;
    s.kind = kind;
    s.channels = 2;
    s.video = rfssim::VideoSettings{codec, 160, 96, 25, 50, 200'000};
    rfssim::Recording backToBack = recording(1, StreamKind::Main, at(12, 1, 9, 0, 0), at(12, 1, 9, 0, 30), rfs::RecNormal);
    backToBack.eventSeconds = 10;
    backToBack.audio = true;
    rfssim::Recording afterGap = recording(1, StreamKind::Main, at(12, 1, 9, 1, 0), at(12, 1, 9, 1, 10), rfs::RecNormal);
    afterGap.audio = true;
    s.recordings = {backToBack, afterGap,
                    recording(2, StreamKind::Main, at(12, 1, 9, 0, 0), at(12, 1, 9, 0, 10), rfs::RecNormal)};
    const std::string name = codec == rfssim::VideoCodecKind::H264 ? "export-h264" : "export-h265";
    return written(kind == rfssim::StoreKind::SdCard ? name + "-sd" : name, s);
}
