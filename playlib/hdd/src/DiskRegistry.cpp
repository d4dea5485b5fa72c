#include "DiskRegistry.h"

namespace kvhdd {

DiskRegistry& registry() {
    static DiskRegistry instance;
    return instance;
}

}  // namespace kvhdd
