#include "IndexAccess.h"

#include "IndexRecovery.h"
#include "MessageLine.h"

namespace kvrfs {
namespace {

std::optional<rfs::IndexCopyChoice> chooseCopies(const IndexLocation& where) {
    if (where.partition < 0 || where.partition >= rfs::kMaxPartitions) {
        message("invalid param!\n");
        return std::nullopt;
    }
    const auto choice = rfs::chooseIndexCopies(where.param.index_valid[where.partition]);
    if (!choice) {
        message("invalid index file flag!\n");
        message("can't find valid index!\n");
    }
    return choice;
}

OpenedIndexCopy openCopy(const IndexLocation& where, int copy, OpenFor access) {
    return openIndexCopy(where.mode, where.path, where.param, where.partition, copy, access);
}

constexpr int64_t kNotWritable = -1000;

// kNotWritable when the copy cannot be opened for writing, else the transfer's result.
int64_t writeCopy(const IndexLocation& where, int copy, uint64_t position, const void* buffer, std::size_t length,
                  std::string& name) {
    const OpenedIndexCopy opened = openCopy(where, copy, OpenFor::ReadWrite);
    name = opened.file.name();
    if (!opened.file.isOpen())
        return kNotWritable;
    const int64_t n = opened.file.writeAt(buffer, opened.areaOffset + position, length);
    if (n == static_cast<int64_t>(length) && where.mode == AccessMode::Directory && !opened.file.commit())
        return -1;
    return n;
}

}  // namespace

OpenedIndexCopy openIndexCopy(AccessMode mode, const std::string& path, const rfs::disk_param_t& param, int partition,
                              int copy, OpenFor access) {
    OpenedIndexCopy opened{StoreFile::openIndex(mode, path, copy, access), 0};
    opened.areaOffset = mode == AccessMode::Raw ? rfs::indexCopyOffset(param, partition, copy) : param.part_start[partition];
    return opened;
}

bool readIndex(const IndexLocation& where, uint64_t position, void* buffer, std::size_t length) {
    const bool raw = where.mode == AccessMode::Raw;
    // Every failure gives up one copy, so this ends after at most four rounds.
    for (;;) {
        const auto copies = chooseCopies(where);
        if (!copies)
            return false;
        const OpenedIndexCopy copy = openCopy(where, copies->primary, OpenFor::Read);
        int64_t n = -1;
        if (copy.file.isOpen())
            n = copy.file.readAt(buffer, copy.areaOffset + position, length);
        else
            message("cant open index file!\n");
        if (n == static_cast<int64_t>(length))
            return true;
        message(raw ? "kv_read file %s failed ret=%lld\n" : "read file %s failed ret=%lld\n", copy.file.name().c_str(),
                static_cast<long long>(n));
        if (!recoverIndex(where, FailedCopy::Primary)) {
            message(raw ? "kv_read err:part%d\n" : "read err:part%d\n", where.partition);
            return false;
        }
    }
}

bool writeIndex(const IndexLocation& where, uint64_t position, const void* buffer, std::size_t length) {
    std::string name;
    for (;;) {
        const auto copies = chooseCopies(where);
        if (!copies)
            return false;
        const int64_t n = writeCopy(where, copies->primary, position, buffer, length, name);
        if (n == static_cast<int64_t>(length))
            break;
        message("write %s err ret=%lld\n", name.c_str(), static_cast<long long>(n));
        // A medium that cannot be written at all (a write-protected image or drive) is read as it is:
        // giving its copies up would only lose what can still be read.
        if (n == kNotWritable)
            return false;
        if (!recoverIndex(where, FailedCopy::Primary)) {
            message("write err part%d\n", where.partition);
            return false;
        }
    }
    for (;;) {
        const auto copies = chooseCopies(where);
        if (!copies)
            return false;
        const int64_t n = writeCopy(where, copies->secondary, position, buffer, length, name);
        if (n == static_cast<int64_t>(length))
            return true;
        message("22write file %s failed ret=%lld\n", name.c_str(), static_cast<long long>(n));
        if (n == kNotWritable)
            return false;
        if (!recoverIndex(where, FailedCopy::Secondary)) {
            message("write index err: disk%s, part%d\n", where.path.c_str(), where.partition);
            return false;
        }
    }
}

bool writePrimaryIndex(const IndexLocation& where, uint64_t position, const void* buffer, std::size_t length) {
    const auto copies = chooseCopies(where);
    if (!copies)
        return false;
    std::string name;
    return writeCopy(where, copies->primary, position, buffer, length, name) == static_cast<int64_t>(length);
}

}  // namespace kvrfs
