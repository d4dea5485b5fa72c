// The month search: which days of a month hold recordings of which record types, from day masks.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

// Fills days[d - 1] with the record type bits found on day d; 0 or a negative search result.
int32_t runMonthSearch(const rfs_find_param_t& param, uint32_t days[31]);

}  // namespace kvrfs
