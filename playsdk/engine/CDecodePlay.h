// Decoding without a window: every input frame starts decoding.
#pragma once

#include "CNetStreamPlay.h"

namespace kvplay {

class CDecodePlay final : public CNetStreamPlay {
public:
    CDecodePlay() : CNetStreamPlay(InstanceType::Decode, 10000, false) {}
};

}  // namespace kvplay
