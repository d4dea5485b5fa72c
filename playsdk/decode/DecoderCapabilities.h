// Which decoders this process can use, found once at library initialisation and settable by tests: the
// software decoders exist when FFmpeg has a decoder for their codec; the hardware decoder when a
// hardware device (VAAPI, CUDA or VDPAU) can be opened.
#pragma once

#include <atomic>

namespace kvplay {

struct DecoderCapabilities {
    std::atomic<bool> h264{false};
    std::atomic<bool> h265{false};
    std::atomic<bool> mjpeg{false};
    std::atomic<bool> hardware{false};
    // A GPU known to fail at hardware decoding: the hardware decoder never opens.
    std::atomic<bool> oldGpuPresent{false};
};

DecoderCapabilities& decoderCapabilities();
// Looks the software decoders up in FFmpeg and tries to open a hardware device, and sets the flags.
void probeDecoderCapabilities();

}  // namespace kvplay
