#include "ReadMeasurements.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <set>

#include "KVPlayHDD.h"
#include "ListingCheck.h"
#include "SearchQuery.h"
#include "Timing.h"

namespace storebench {
namespace {

constexpr int kSeeks = 1000;
constexpr double kSeekGoalMs = 1;
constexpr double kThroughputGoal = 0.70;  // of dd's
constexpr int kReadSize = 1 << 20;
constexpr int kSeekCheckSize = 64 * 1024;  // holds an I frame and the skip before it

struct AlignedBuffer {
    std::unique_ptr<unsigned char, decltype(&std::free)> bytes{
        static_cast<unsigned char*>(std::aligned_alloc(4096, kReadSize)), &std::free};
};

int64_t secondOf(const rfs_time_t& t) {
    return rfs::toEpochSeconds(rfs::unpackTime(rfs::packTime(t)));
}

rfs_time_t rfsTime(int64_t second) {
    return rfs::toRfsTime(rfs::packTime(rfs::fromEpochSeconds(second)));
}

std::string timeText(int64_t second) {
    return rfs::formatTime(rfs::fromEpochSeconds(second));
}

// The listed events whose data files hold bytes, checked against those written there.
std::vector<rfs_event_t> eventsWithBytes(const StoreLayout& layout, int handle, Report& report) {
    std::set<uint32_t> ids;
    for (const PlannedFile& f : layout.files)
        if (f.holdsBytes)
            ids.insert(recordId(f));
    std::vector<rfs_event_t> events;
    for (const rfs_event_t& e : listedEvents(handle))
        if (ids.count(e.record_id) != 0)
            events.push_back(e);

    std::vector<EventKey> written;
    for (const EventKey& k : writtenEvents(layout, -1, dayStart(0), dayStart(kDays) - 1))
        if (ids.count(k.recordId) != 0)
            written.push_back(k);
    std::vector<EventKey> listed;
    for (const rfs_event_t& e : events)
        listed.push_back(keyOf(e));
    report.add(compareListing("5-day search lists the events of the files with bytes", written, listed));
    return events;
}

struct Seek {
    const rfs_event_t* event;
    int64_t second;
    int direction;
};

std::vector<Seek> randomSeeks(const std::vector<rfs_event_t>& events) {
    std::mt19937 random(2026);
    std::uniform_int_distribution<std::size_t> pickEvent(0, events.size() - 1);
    std::vector<Seek> seeks;
    for (int i = 0; i < kSeeks; ++i) {
        const rfs_event_t& e = events[pickEvent(random)];
        const int64_t start = secondOf(e.start);
        const int64_t second = std::uniform_int_distribution<int64_t>(start, secondOf(e.end))(random);
        seeks.push_back(Seek{&e, second, std::uniform_int_distribution<int>(0, 1)(random)});
    }
    return seeks;
}

// Empty when reading at the sought position gives the I frame of the sought second.
std::string landedOn(int handle, unsigned char* buffer, int64_t second) {
    int skip = 0;
    rfs_read_pos_t pos{};
    const int32_t n = KVrfs_read_hdd(handle, buffer, kSeekCheckSize, &skip, &pos);
    if (n < 0 || skip < 0 || n < skip + static_cast<int>(rfs::kFrameHeaderSize))
        return "read after the seek gave " + std::to_string(n) + " (skip " + std::to_string(skip) + ")";
    const rfs::KVFrameHeader h = rfs::readFrameHeader(buffer + skip);
    if (!rfs::isFrameHeader(h) || h.frameType != rfs::FrameI)
        return "no I frame at the sought position";
    const int64_t got = static_cast<int64_t>(h.Time / 1'000'000);
    return got == second ? "" : "landed on the I frame of " + timeText(got);
}

void measureSeeks(const std::vector<rfs_event_t>& events, Report& report) {
    const std::vector<Seek> seeks = randomSeeks(events);
    AlignedBuffer buffer;
    const int handle = KVrfs_read_start_hdd(0);
    std::vector<double> times;
    IoCount io;
    int failures = 0;
    std::string firstFailure;
    // The first pass warms the page cache; the second is timed, one call at a time.
    for (int pass = 0; pass < 2; ++pass) {
        times.clear();
        io = {};
        failures = 0;
        for (const Seek& s : seeks) {
            const rfs_time_t when = rfsTime(s.second);
            int32_t result = 0;
            const IoCount before = ioCount();
            times.push_back(elapsedMs([&] { result = KVrfs_tseek_hdd(handle, &when, s.direction, 0, s.event, 0); }));
            io += ioCount() - before;
            const std::string problem = result != 0 ? "tseek returned " + std::to_string(result)
                                                    : landedOn(handle, buffer.bytes.get(), s.second);
            if (!problem.empty() && failures++ == 0)
                firstFailure = "chn " + std::to_string(s.event->chn) + " event " + timeText(secondOf(s.event->start)) +
                               " file " + std::to_string(s.event->record_id & 0xffff) + ", seek to " +
                               timeText(s.second) + " direction " + std::to_string(s.direction) + ": " + problem;
        }
    }
    KVrfs_read_stop_hdd(handle);

    const double meanMs = mean(times);
    const double p99Ms = percentile(times, 0.99);
    report.add(Figure{"tseek, mean of " + std::to_string(kSeeks), fixed(meanMs, 4, "ms"), "< 1 ms",
                      meanMs < kSeekGoalMs, io, " (all seeks)"});
    report.add(Figure{"tseek, 99th percentile", fixed(p99Ms, 4, "ms"), "< 1 ms", p99Ms < kSeekGoalMs, {}, ""});
    report.add(Check{std::to_string(kSeeks) + " random tseeks land on the I frame of the sought second", failures == 0,
                     std::to_string(failures) + " failed" + (failures ? "; first: " + firstFailure : "")});
}

struct WholeRead {
    int32_t error = 0;  // the first negative result
    uint64_t delivered = 0;
    bool sameBytes = true;  // as a direct read of the image, when checked
};

// Reads `event` from its start to its end with 1 MiB reads; `image` (when open) checks every byte.
WholeRead readEvent(const rfs_event_t& event, unsigned char* buffer, int image, uint64_t eventOffset) {
    WholeRead r;
    const int handle = KVrfs_read_start_hdd(event.chn);
    r.error = KVrfs_tseek_hdd(handle, &event.start, 0, 0, &event, 0);
    std::vector<unsigned char> expected;
    while (r.error == 0) {
        int skip = 0;
        rfs_read_pos_t pos{};
        const int32_t n = KVrfs_read_hdd(handle, buffer, kReadSize, &skip, &pos);
        if (n <= 0) {
            r.error = std::min(n, 0);
            break;
        }
        const auto bytes = static_cast<std::size_t>(std::max(n - skip, 0));
        if (image >= 0) {
            expected.resize(bytes);
            r.sameBytes = r.sameBytes &&
                          ::pread(image, expected.data(), bytes, static_cast<off_t>(eventOffset + r.delivered)) ==
                              static_cast<ssize_t>(bytes) &&
                          std::memcmp(expected.data(), buffer + skip, bytes) == 0;
        }
        r.delivered += bytes;
    }
    KVrfs_read_stop_hdd(handle);
    return r;
}

// dd's own report of its copy time, in ms; negative when it could not be run or read.
double ddMs(const std::filesystem::path& image, uint64_t offset, uint64_t length) {
    const std::string command = "LC_ALL=C dd if='" + image.string() +
                                "' of=/dev/null bs=1M skip=" + std::to_string(offset) +
                                " count=" + std::to_string(length) + " iflag=skip_bytes,count_bytes 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::string output;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr)
        output += chunk;
    const int status = ::pclose(pipe);
    const std::size_t at = output.find("copied, ");
    if (status != 0 || at == std::string::npos)
        return -1;
    return std::strtod(output.c_str() + at + 8, nullptr) * 1000;
}

void measureWholeRead(const StoreLayout& layout, const std::filesystem::path& image,
                      const std::vector<rfs_event_t>& events, Report& report) {
    const rfs_event_t& event = *std::max_element(events.begin(), events.end(),
                                                 [](const auto& a, const auto& b) { return a.data_len < b.data_len; });
    const int partition = static_cast<int>(event.record_id >> 16 & 0xff);
    const uint64_t offset = rfs::dataFileOffset(layout.param, partition, event.record_id & 0xffff) + event.data_start;
    AlignedBuffer buffer;

    const int fd = ::open(image.c_str(), O_RDONLY | O_CLOEXEC);
    const WholeRead checked = readEvent(event, buffer.bytes.get(), fd, offset);
    ::close(fd);
    report.add(Check{"reading the longest event delivers its bytes, unchanged",
                     checked.error == 0 && checked.delivered == event.data_len && checked.sameBytes,
                     "result " + std::to_string(checked.error) + ", " + std::to_string(checked.delivered) + " of " +
                         std::to_string(event.data_len) + " bytes" + (checked.sameBytes ? "" : ", bytes differ")});

    const TimedRuns reader = timeWarm([&] { readEvent(event, buffer.bytes.get(), -1, 0); });
    std::vector<double> ddTimes;
    ddMs(image, offset, event.data_len);
    for (int i = 0; i < kTimedRuns; ++i)
        ddTimes.push_back(ddMs(image, offset, event.data_len));
    const double ddMedian = median(ddTimes);

    const double mb = static_cast<double>(event.data_len) / 1e6;
    const double readerRate = mb / (reader.medianMs / 1000);
    const double ddRate = ddMedian > 0 ? mb / (ddMedian / 1000) : 0;
    const std::string what = "chn " + std::to_string(event.chn) + ", " +
                             std::to_string(secondOf(event.end) - secondOf(event.start) + 1) + " s, " +
                             fixed(mb, 1, "MB");
    report.add(Figure{"read whole event (" + what + ")", fixed(readerRate, 0, "MB/s"), "", {}, reader.perRun, ""});
    report.add(Figure{"dd bs=1M, same bytes", ddRate > 0 ? fixed(ddRate, 0, "MB/s") : "failed", "", {}, {}, ""});
    const double share = ddRate > 0 ? readerRate / ddRate : 0;
    report.add(Figure{"read / dd", fixed(share * 100, 0, "%"), ">= 70 % of dd", share >= kThroughputGoal, {}, ""});
}

}  // namespace

void measureReads(const StoreLayout& layout, const std::filesystem::path& image, Report& report) {
    const ChannelBits bits = ChannelBits::all();
    const rfs_find_param_t query = eventQuery(3, bits, dayStart(0), dayStart(kDays) - 1);
    const int32_t handle = KVrfs_find_start_hdd(&query, nullptr);
    if (handle < 0) {
        report.add(Check{"5-day search for the reads", false, "result " + std::to_string(handle)});
        return;
    }
    const std::vector<rfs_event_t> events = eventsWithBytes(layout, handle, report);
    if (!events.empty()) {
        measureSeeks(events, report);
        measureWholeRead(layout, image, events, report);
    }
    KVrfs_find_stop_hdd(handle);
}

}  // namespace storebench
