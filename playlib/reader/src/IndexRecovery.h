// Index error recovery: a copy that failed is given up, and the next good copy is rebuilt from the
// other good one so that the two copies in use agree. It never deletes data: it clears valid bits and
// overwrites a copy that is not in use.
#pragma once

#include "IndexAccess.h"

namespace kvrfs {

enum class FailedCopy { Primary, Secondary };

// True when the partition has a primary and a secondary copy again.
bool recoverIndex(const IndexLocation& where, FailedCopy failed);

}  // namespace kvrfs
