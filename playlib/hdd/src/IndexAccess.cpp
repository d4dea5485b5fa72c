#include "IndexAccess.h"

#include "MessageLine.h"

namespace kvhdd {
namespace {

bool choosePrimary(const IndexLocation& where, int& primary) {
    if (where.partition < 0 || where.partition >= rfs::kMaxPartitions) {
        message("invalid param!\n");
        return false;
    }
    const auto choice = rfs::chooseIndexCopies(where.param.index_valid[where.partition]);
    if (!choice) {
        message("invalid index file flag!\n");
        message("can't find valid index!\n");
        return false;
    }
    primary = choice->primary;
    return true;
}

}  // namespace

OpenedIndexCopy openIndexCopy(const IndexLocation& where, int copy, OpenFor access) {
    OpenedIndexCopy opened{StoreFile::openIndex(where.mode, where.path, copy, access), 0};
    opened.areaOffset = where.mode == AccessMode::Raw ? rfs::indexCopyOffset(where.param, where.partition, copy)
                                                      : where.param.part_start[where.partition];
    return opened;
}

bool readIndex(const IndexLocation& where, uint64_t position, void* buffer, std::size_t length) {
    int primary = 0;
    if (!choosePrimary(where, primary))
        return false;
    const bool raw = where.mode == AccessMode::Raw;
    const OpenedIndexCopy copy = openIndexCopy(where, primary, OpenFor::Read);
    if (!copy.file.isOpen()) {
        message("cant open index file!\n");
        return false;
    }
    const int64_t n = copy.file.readAt(buffer, copy.areaOffset + position, length);
    if (n == static_cast<int64_t>(length))
        return true;
    message(raw ? "kv_read file %s failed ret=%lld\n" : "read file %s failed ret=%lld\n", copy.file.name().c_str(),
            static_cast<long long>(n));
    // Rebuilding a bad copy from a good one is not built yet, so a failed primary copy fails the read.
    message(raw ? "kv_read err:part%d\n" : "read err:part%d\n", where.partition);
    return false;
}

bool writePrimaryIndex(const IndexLocation& where, uint64_t position, const void* buffer, std::size_t length) {
    int primary = 0;
    if (!choosePrimary(where, primary))
        return false;
    const OpenedIndexCopy copy = openIndexCopy(where, primary, OpenFor::ReadWrite);
    if (!copy.file.isOpen())
        return false;
    if (copy.file.writeAt(buffer, copy.areaOffset + position, length) != static_cast<int64_t>(length))
        return false;
    return where.mode == AccessMode::Raw || copy.file.commit();
}

}  // namespace kvhdd
