// The label area of a store on which no label has been set yet.
#pragma once

#include <cstdint>
#include <vector>

namespace rfssim {

// The head and the end entry, from the start of the area; the rest of the area stays zero.
std::vector<uint8_t> emptyLabelArea();

}  // namespace rfssim
