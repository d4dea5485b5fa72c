// Two-way talk with a device; its operations come with the voice path and answer "not supported" until then.
#pragma once

#include "CPlayInstance.h"

namespace kvplay {

class CDualTalk final : public CPlayInstance {};

}  // namespace kvplay
