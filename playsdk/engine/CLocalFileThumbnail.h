// The first picture of a local record file; reading the files comes with the file readers.
#pragma once

#include "CNetStreamPlay.h"

namespace kvplay {

class CLocalFileThumbnail final : public CNetStreamPlay {
public:
    CLocalFileThumbnail() : CNetStreamPlay(InstanceType::LocalFileThumbnail, 250, true) {}
};

}  // namespace kvplay
