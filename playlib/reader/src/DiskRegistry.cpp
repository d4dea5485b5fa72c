#include "DiskRegistry.h"

namespace kvrfs {

DiskRegistry& registry() {
    static DiskRegistry instance;
    return instance;
}

}  // namespace kvrfs
