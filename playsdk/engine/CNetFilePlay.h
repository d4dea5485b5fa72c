// Playback of stored recordings: paced, a deep queue, and message 1 when the queue runs low.
#pragma once

#include "CNetStreamPlay.h"

namespace kvplay {

class CNetFilePlay final : public CNetStreamPlay {
public:
    CNetFilePlay() : CNetStreamPlay(InstanceType::NetFile, 10000, false) {}
};

}  // namespace kvplay
