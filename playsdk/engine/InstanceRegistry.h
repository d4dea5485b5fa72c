// Creation and destruction of play instances, and the set of live handles.
#pragma once

#include <cstdint>

#include "CPlayInstance.h"

namespace kvplay {

// The instance of the creation type, registered; null for an unknown type.
CPlayInstance* createPlayInstance(int32_t type);
void destroyPlayInstance(CPlayInstance* instance);

}  // namespace kvplay
