#include "StoreSummary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "KVPlayHDD.h"

namespace tarn {
namespace {

// Reads one partition's info from its primary copy; the store is opened read-only.
bool readPartitionInfo(const std::string& path, StoreKind kind, const rfs::disk_param_t& param, int partition,
                       rfs::part_info_t& info) {
    const auto copies = rfs::chooseIndexCopies(param.index_valid[partition]);
    if (!copies)
        return false;
    const bool directory = kind == StoreKind::Directory;
    const std::string file = directory ? path + "/index" + std::to_string(copies->primary) : path;
    const uint64_t offset =
        directory ? param.part_start[partition] : rfs::indexCopyOffset(param, partition, copies->primary);
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const ssize_t n = ::pread(fd, &info, sizeof info, static_cast<off_t>(offset));
    ::close(fd);
    return n == static_cast<ssize_t>(sizeof info) && info.magic == rfs::kPartMagic;
}

std::string whyInvalid(const rfs::disk_param_t& p) {
    if (p.magic != rfs::kDiskMagic)
        return "it holds no rfs parameter block";
    if ((p.version_lo != rfs::kVersionLo && p.version_lo != rfs::kSdVersionLo) || p.version_hi != rfs::kVersionHi)
        return "its store version " + std::to_string(p.version_hi) + "." + std::to_string(p.version_lo) +
               " is neither a hard-disk store (2.3) nor an SD card's (2.4)";
    if (rfs::diskParamCheckSum(p) != p.check_sum)
        return "its parameter block is damaged (check sum mismatch)";
    return "its parameter block lists " + std::to_string(p.part_count) + " partitions (at most 4 exist)";
}

}  // namespace

std::optional<StoreKind> storeKindOf(const std::string& path, std::string& reason) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        reason = path + " cannot be opened: " + std::strerror(errno);
        return std::nullopt;
    }
    if (S_ISDIR(st.st_mode))
        return StoreKind::Directory;
    if (S_ISBLK(st.st_mode))
        return StoreKind::BlockDevice;
    if (S_ISREG(st.st_mode))
        return StoreKind::Image;
    reason = path + " is neither a directory, a disk image nor a block device";
    return std::nullopt;
}

std::optional<StoreSummary> readStoreSummary(const std::string& path, std::string& reason) {
    const auto kind = storeKindOf(path, reason);
    if (!kind)
        return std::nullopt;

    StoreSummary summary;
    summary.path = path;
    summary.kind = *kind;
    KVrfs_mode_set(*kind == StoreKind::Directory ? 1 : 0);
    if (get_disk_param_hdd(path.c_str(), &summary.param) != 0) {
        reason = *kind == StoreKind::Directory
                     ? path + " holds no readable rfs index file (index0 to index3)"
                     : path + " is too short or cannot be read: it holds no rfs parameter block";
        return std::nullopt;
    }
    summary.sdCard = summary.param.version_lo == rfs::kSdVersionLo;
    if (summary.sdCard && *kind != StoreKind::Directory) {
        reason = path + " holds an SD card's store version (2.4), but an SD card's store is a folder";
        return std::nullopt;
    }
    const uint16_t version = summary.sdCard ? rfs::kSdVersionLo : rfs::kVersionLo;
    if (!rfs::isValidDiskParam(summary.param, version) || summary.param.part_count > rfs::kMaxPartitions) {
        reason = path + " is not a usable rfs store: " + whyInvalid(summary.param);
        return std::nullopt;
    }

    for (int p = 0; p < summary.param.part_count; ++p) {
        PartitionSummary part;
        part.number = p;
        part.validCopies = summary.param.index_valid[p];
        part.readable = readPartitionInfo(path, *kind, summary.param, p, part.info);
        if (part.readable)
            summary.freeFiles += part.info.free_nr;
        summary.partitions.push_back(part);
    }
    return summary;
}

}  // namespace tarn
