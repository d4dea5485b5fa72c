// The picture month search: which days of a month hold pictures, from the "PicMon_" day records of the
// picture files.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

// Sets days[d] to 1 when day d + 1 holds pictures; 0 or a negative search result.
int32_t runPictureMonthSearch(const rfs_find_param_t& param, uint32_t days[31]);

}  // namespace kvrfs
