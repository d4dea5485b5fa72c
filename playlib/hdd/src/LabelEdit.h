// Adding, deleting and renaming labels: the only changes the reader makes to a store at a user's request.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

enum LabelOperation { LabelAdd = 0, LabelDelete = 1, LabelRename = 2 };

// Add: disk id << 24 | label number. Delete, rename: 0. Failures: -1, -34 without a label area.
int32_t setLabel(int operation, const rfs_label_request_t* request);

}  // namespace kvrfs
