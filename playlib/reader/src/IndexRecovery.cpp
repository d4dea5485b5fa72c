#include "IndexRecovery.h"

#include <array>
#include <vector>

#include "DiskParamIo.h"
#include "MessageLine.h"

namespace kvrfs {
namespace {

constexpr std::size_t kCopyPiece = 512 * 1024;

std::vector<int> validCopies(const IndexLocation& where) {
    std::vector<int> copies;
    for (int c = 0; c < rfs::kIndexCopies; ++c)
        if (where.param.index_valid[where.partition] >> c & 1)
            copies.push_back(c);
    return copies;
}

void setValid(const IndexLocation& where, int copy, bool valid) {
    uint8_t& bits = where.param.index_valid[where.partition];
    bits = static_cast<uint8_t>(valid ? bits | 1u << copy : bits & ~(1u << copy));
    writeDiskParamBack(where.mode, where.path, where.param);
}

enum class CopyResult { Done, SourceFailed, TargetFailed };

CopyResult copyIndexArea(const IndexLocation& where, int source, int target) {
    const bool raw = where.mode == AccessMode::Raw;
    const OpenedIndexCopy from = openIndexCopy(where.mode, where.path, where.param, where.partition, source, OpenFor::Read);
    const OpenedIndexCopy to =
        openIndexCopy(where.mode, where.path, where.param, where.partition, target, OpenFor::ReadWrite);
    if (!from.file.isOpen() || !to.file.isOpen()) {
        message("open %sindex%d failed\n", where.path.c_str(), from.file.isOpen() ? target : source);
        return from.file.isOpen() ? CopyResult::TargetFailed : CopyResult::SourceFailed;
    }
    std::vector<uint8_t> piece(kCopyPiece);
    const uint64_t size = where.param.index_size;
    for (uint64_t done = 0; done < size;) {
        const std::size_t length = static_cast<std::size_t>(std::min<uint64_t>(kCopyPiece, size - done));
        if (from.file.readAt(piece.data(), from.areaOffset + done, length) != static_cast<int64_t>(length)) {
            message(raw ? "kv_read file err!\n" : "read file err!\n");
            return CopyResult::SourceFailed;
        }
        if (to.file.writeAt(piece.data(), to.areaOffset + done, length) != static_cast<int64_t>(length)) {
            message("write new file failed\n");
            return CopyResult::TargetFailed;
        }
        done += length;
    }
    if (!raw && !to.file.commit()) {
        message("write new file failed\n");
        return CopyResult::TargetFailed;
    }
    return CopyResult::Done;
}

}  // namespace

bool recoverIndex(const IndexLocation& where, FailedCopy failed) {
    message("deal with index error start\n");
    std::vector<int> valid = validCopies(where);
    if (valid.size() < 3) {
        message("all index file is err!\n");
        return false;
    }
    const int bad = failed == FailedCopy::Primary ? valid[0] : valid[1];
    setValid(where, bad, false);
    for (;;) {
        // The bad copy stays given up; the other two lowest valid copies become source and target.
        valid = validCopies(where);
        if (valid.size() < 2) {
            message("all index file is err!\n");
            return false;
        }
        const int source = valid[0];
        const int target = valid[1];
        // A target holds a half copy until the copy completes: it is not valid meanwhile, so that a
        // failure part-way leaves no copy marked valid that holds a mix of two.
        setValid(where, target, false);
        switch (copyIndexArea(where, source, target)) {
        case CopyResult::Done:
            setValid(where, target, true);
            message(where.mode == AccessMode::Raw ? "deal with index error sucess\n" : "deal with index KVERROR sucess\n");
            return true;
        case CopyResult::SourceFailed:
            return false;
        case CopyResult::TargetFailed:
            break;
        }
    }
}

}  // namespace kvrfs
