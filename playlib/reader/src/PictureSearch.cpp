#include "PictureSearch.h"

#include <algorithm>

#include "DataFileAccess.h"
#include "EventRecord.h"
#include "MessageLine.h"
#include "PartitionIndex.h"
#include "PictureOrder.h"
#include "SearchDiagnostics.h"
#include "SearchHandles.h"
#include "SearchPasses.h"
#include "SearchRequest.h"
#include "rfs/PictureRecords.h"

namespace kvrfs {
namespace {

constexpr std::size_t kInitialCapacity = 500;
constexpr std::size_t kGrowthStep = 300;

class PictureCollector {
public:
    PictureCollector(int handleNumber, const SearchRequest& request)
        : handleNumber_(handleNumber),
          handle_(searchHandles()[handleNumber]),
          request_(request),
          list_(handle_.slots[0].pictures) {}

    int32_t run() {
        dumpDiskSummary();
        for (int pass = 0; pass < 2; ++pass) {
            const int32_t result = visitPassPartitions(
                pass, request_, StoredKind::Pictures,
                [&](const DiskRecord& disk, int partition) { return searchPartition(disk, partition, pass); });
            sortAndNumber();
            if (result != 0)
                return result;
        }
        return 0;
    }

private:
    int32_t searchPartition(const DiskRecord& disk, int partition, int pass) {
        PartitionIndex index(disk, partition);
        std::vector<rfs::index_file_info> files;
        if (!index.open() || !index.readFileTable(files))
            return index.error();
        for (uint32_t m = 0; m < files.size(); ++m) {
            if (!acceptsFile(files[m]))
                continue;
            std::vector<rfs::pic_info_t> entries;
            if (const int32_t result = readPictureIndex(disk, partition, m, files[m], entries); result != 0)
                return result;
            // The entries lie newest first; walking them backwards meets the pictures in time order.
            for (std::size_t k = entries.size(); k-- > 0;)
                if (acceptsEntry(entries[k], pass))
                    add(disk, partition, m, entries[k], k, pass);
        }
        return 0;
    }

    bool acceptsFile(const rfs::index_file_info& file) const {
        return file.magic == rfs::kFileMagic &&
               (file.state == rfs::FileInUse || file.state == rfs::FileEventsOnly || file.state == rfs::FileRepaired) &&
               file.type == request_.param().data_type && file.start_time <= file.end_time &&
               request_.overlaps(file.start_time, file.end_time);
    }

    // The index must lie inside the data file; a file whose record says otherwise is skipped.
    static int32_t readPictureIndex(const DiskRecord& disk, int partition, uint32_t fileIndex,
                                    const rfs::index_file_info& file, std::vector<rfs::pic_info_t>& entries) {
        const uint64_t bytes = uint64_t{file.event_nr} * sizeof(rfs::pic_info_t);
        if (uint64_t{file.index_low} + bytes > rfs::normalisedDataFileSize(disk.param.dataFileSize)) {
            message("file%u pic index out of file, index_low:%u, pic_nr:%u\n", fileIndex, file.index_low,
                    file.event_nr);
            return 0;
        }
        OpenedDataFile data = openDataFileOf(disk, partition, fileIndex);
        if (!data.file.isOpen()) {
            message("open file %s failed!\n", data.file.name().c_str());
            return 0;
        }
        entries.resize(file.event_nr);
        if (data.file.readAt(entries.data(), data.base + file.index_low, bytes) != static_cast<int64_t>(bytes)) {
            message("kv_read pic err\n");
            return kIndexShortRead;
        }
        return 0;
    }

    bool acceptsEntry(const rfs::pic_info_t& entry, int pass) const {
        return request_.recordTypeMatches(entry.rec_type) && request_.channelSelected(entry.pic_chn) &&
               entry.magic == rfs::kPictureMagic && entry.time >= request_.from() && entry.time <= request_.to() &&
               !(pass == 1 && listedBefore(entry));
    }

    // A redundant disk's copy of a picture the normal disks listed adds nothing. The sorted part of the
    // list is searched by time, then the pictures of that second are compared.
    bool listedBefore(const rfs::pic_info_t& entry) const {
        const auto sortedEnd = list_.begin() + static_cast<std::ptrdiff_t>(sortedCount_);
        auto it = std::lower_bound(list_.begin(), sortedEnd, entry.time,
                                   [](const rfs_pic_t& p, rfs::PackedTime t) { return rfs::packTime(p.time) < t; });
        for (; it != sortedEnd && rfs::packTime(it->time) == entry.time; ++it)
            if (it->pic_chn == entry.pic_chn && it->rec_type == entry.rec_type && it->position == entry.position)
                return true;
        return false;
    }

    void add(const DiskRecord& disk, int partition, uint32_t fileIndex, const rfs::pic_info_t& entry, std::size_t k,
             int pass) {
        if (list_.size() == capacity_) {
            capacity_ = capacity_ == 0 ? kInitialCapacity : capacity_ + kGrowthStep;
            if (list_.empty())
                message("malloc:buf:%d, buf_len:%zu, data_len:%zu\n", 0, capacity_, list_.size());
            list_.reserve(capacity_);
        }
        list_.push_back(outputRecord(disk, partition, fileIndex, entry, k, pass));
        handle_.earliestStart = handle_.earliestStart == 0 ? entry.time : std::min(handle_.earliestStart, entry.time);
        handle_.latestEnd = std::max(handle_.latestEnd, entry.time);
        handle_.contributed[disk.disk_id][partition] = true;
        if (list_.size() > kPictureCutThreshold)
            keepEarliest();
    }

    // Past the threshold only the earliest pictures stay; the search goes on from there.
    void keepEarliest() {
        sortPictures(list_);
        list_.resize(kMaxKeptPictures);
        sortedCount_ = list_.size();
        handle_.earliestStart = rfs::packTime(list_.front().time);
        handle_.latestEnd = rfs::packTime(list_.back().time);
    }

    rfs_pic_t outputRecord(const DiskRecord& disk, int partition, uint32_t fileIndex, const rfs::pic_info_t& entry,
                           std::size_t k, int pass) const {
        rfs_pic_t out{};
        out.handle = static_cast<uint8_t>(handleNumber_);
        out.entry = static_cast<uint8_t>(k);
        out.record_id = recordIdOf(disk.disk_id, partition, fileIndex);
        out.rec_type = entry.rec_type;
        out.pic_chn = entry.pic_chn;
        out.pic_state = entry.pic_state;
        out.time = rfs::toRfsTime(entry.time);
        out.position = entry.position;
        out.length = entry.length;
        out.entry_reserved20 = entry.reserved20;
        out.entry_reserved26 = entry.reserved26;
        out.pass = static_cast<uint8_t>(pass);
        out.entry_reserved28 = entry.reserved28;
        return out;
    }

    void sortAndNumber() {
        sortPictures(list_);
        for (std::size_t i = 0; i < list_.size(); ++i)
            list_[i].index = static_cast<int32_t>(i);
        sortedCount_ = list_.size();
    }

    int handleNumber_;
    SearchHandle& handle_;
    const SearchRequest& request_;
    std::vector<rfs_pic_t>& list_;
    std::size_t capacity_ = 0;
    std::size_t sortedCount_ = 0;  // the list's sorted front, where pass 1 looks for copies
};

}  // namespace

int32_t runPictureSearch(int handle, const rfs_find_param_t& param) {
    const SearchRequest request(param);
    return PictureCollector(handle, request).run();
}

}  // namespace kvrfs
