// Label searches: by span, channel and text into per-channel result slots, and the days of a month that
// hold labels.
#pragma once

#include <cstdint>

#include "rfs/rfs_types.h"

namespace kvrfs {

// pattern: a case-sensitive part of the name; null or empty lists every label. 0 or -1.
int32_t findLabelStart(const rfs_find_param_t* param, const char* pattern);
int32_t getLabels(int slot, rfs_label_list_t* out);
int32_t findLabelStop();

// days[d - 1] := 1 when day d of the month of the span's start holds a named label of a chosen channel.
int32_t runLabelMonthSearch(const rfs_find_param_t& param, uint32_t days[31]);

}  // namespace kvrfs
