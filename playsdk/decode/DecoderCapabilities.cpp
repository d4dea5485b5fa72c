#include "DecoderCapabilities.h"

#include "HardwareBackend.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace kvplay {

DecoderCapabilities& decoderCapabilities() {
    static DecoderCapabilities capabilities;
    return capabilities;
}

void probeDecoderCapabilities() {
    DecoderCapabilities& capabilities = decoderCapabilities();
    capabilities.h264 = avcodec_find_decoder(AV_CODEC_ID_H264) != nullptr;
    capabilities.h265 = avcodec_find_decoder(AV_CODEC_ID_HEVC) != nullptr;
    capabilities.mjpeg = avcodec_find_decoder(AV_CODEC_ID_MJPEG) != nullptr;
    capabilities.hardware = probeHardwareDevice();
}

}  // namespace kvplay
