// Results of the search and cursor calls.
#pragma once

#include <cstdint>

namespace kvrfs {

constexpr int32_t kNoHandleResult = 64;  // a month search, or a search type that lists nothing
constexpr int32_t kBadHandle = -4;
constexpr int32_t kBadParam = -11;
constexpr int32_t kNoMemory = -12;
constexpr int32_t kIndexOpenFailed = -13;
constexpr int32_t kIndexShortRead = -14;
constexpr int32_t kNoFreeHandle = -17;
constexpr int32_t kHandleNotInUse = -18;
constexpr int32_t kBadSearchType = -19;
constexpr int32_t kEmptyList = -20;
constexpr int32_t kNothingFound = -21;
constexpr int32_t kBadSlot = -22;
constexpr int32_t kNoNext = -26;
constexpr int32_t kNoPrevious = -27;
constexpr int32_t kCursorOutside = -28;

}  // namespace kvrfs
