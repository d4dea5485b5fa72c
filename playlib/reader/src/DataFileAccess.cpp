#include "DataFileAccess.h"

namespace kvrfs {

uint64_t dataFileBase(const DiskRecord& disk, int partition, uint32_t fileIndex) {
    return registry().mode() == AccessMode::Raw ? rfs::dataFileOffset(disk.param, partition, fileIndex) : 0;
}

OpenedDataFile openDataFileOf(const DiskRecord& disk, int partition, uint32_t fileIndex) {
    return OpenedDataFile{StoreFile::openDataFile(registry().mode(), disk.path, fileIndex, OpenFor::Read),
                          dataFileBase(disk, partition, fileIndex)};
}

}  // namespace kvrfs
