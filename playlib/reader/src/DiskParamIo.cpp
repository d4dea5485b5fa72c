#include "DiskParamIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "MessageLine.h"
#include "ReaderProfile.h"

namespace kvrfs {

using rfs::disk_param_t;

std::optional<disk_param_t> readDiskParam(AccessMode mode, const std::string& path) {
    const StoreFile file = StoreFile::openIndex(mode, path, -1, OpenFor::Read);
    if (!file.isOpen()) {
        message("open file %s failed\n", path.c_str());
        message("open disk: %s\n", std::strerror(errno));
        return std::nullopt;
    }
    disk_param_t param;
    if (file.readAt(&param, rfs::kDiskParamOffset, sizeof param) != static_cast<int64_t>(sizeof param)) {
        if (mode == AccessMode::Raw)
            message("kv_read file %s failed\n", file.name().c_str());
        else
            message("write file %s failed\n", file.name().c_str());
        return std::nullopt;
    }
    return param;
}

bool validateDiskParam(const disk_param_t& param) {
    const uint32_t sum = rfs::diskParamCheckSum(param);
    const uint16_t versionLo = readerProfile().versionLo;
    if (!rfs::isValidDiskParam(param, versionLo)) {
        message("not valid rfs format, check_sum:%#x%c=%#x,magic:%d%c=%d, version:(%d/%d)-(%d/%d)\n", param.check_sum,
                param.check_sum == sum ? '=' : '!', sum, static_cast<int>(param.magic),
                param.magic == rfs::kDiskMagic ? '=' : '!', static_cast<int>(rfs::kDiskMagic), param.version_hi,
                param.version_lo, rfs::kVersionHi, versionLo);
        return false;
    }
    // Partition tables hold four entries; a larger count would index past them.
    if (param.part_count > rfs::kMaxPartitions) {
        message("not valid rfs format, part_count:%d\n", param.part_count);
        return false;
    }
    return true;
}

bool writeDiskParamBack(AccessMode mode, const std::string& path, disk_param_t& param) {
    if (mode == AccessMode::Raw) {
        const StoreFile drive = StoreFile::openDrive(path, OpenFor::ReadWrite);
        param.check_sum = rfs::diskParamCheckSum(param);
        message("disk param check sum=%#x,disk_state=%d\n", param.check_sum, param.disk_state);
        if (!drive.isOpen() || drive.writeAt(&param, rfs::kDiskParamOffset, sizeof param) != sizeof param) {
            message("write file %s failed\n", path.c_str());
            return false;
        }
        return true;
    }

    bool anyWritten = false;
    for (int copy = 0; copy < rfs::kIndexCopies; ++copy) {
        const StoreFile file = StoreFile::openIndex(mode, path, copy, OpenFor::Write);
        if (!file.isOpen()) {
            message("open file %s failed\n", file.name().c_str());
            continue;
        }
        param.check_sum = rfs::diskParamCheckSum(param);
        message("disk param check sum=%#x,disk_state=%d\n", param.check_sum, param.disk_state);
        const int64_t n = file.writeAt(&param, rfs::kDiskParamOffset, sizeof param);
        if (n == IoSeekFailed) {
            message("lseek file %s failed\n", file.name().c_str());
        } else if (n != sizeof param) {
            message("write file %s failed\n", file.name().c_str());
        } else {
            anyWritten = true;
        }
    }
    if (!anyWritten)
        message("set disk param to all index failed :%s\n", path.c_str());
    return anyWritten;
}

}  // namespace kvrfs
