// Playback of local record files; reading the files comes with the file readers.
#pragma once

#include "CNetStreamPlay.h"

namespace kvplay {

class CLocalFilePlay final : public CNetStreamPlay {
public:
    CLocalFilePlay() : CNetStreamPlay(InstanceType::LocalFile, 800, false) {}
};

}  // namespace kvplay
