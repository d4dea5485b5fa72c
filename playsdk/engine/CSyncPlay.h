// A group of instances played in step; its operations come with synchronised play and answer "not
// supported" until then.
#pragma once

#include "CPlayInstance.h"

namespace kvplay {

class CSyncPlay final : public CPlayInstance {};

}  // namespace kvplay
