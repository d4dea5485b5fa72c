// Which decoders this process can use, found once at library initialisation and settable by tests: the
// software decoders exist when FFmpeg has a decoder for their codec; the hardware decoder when a
// hardware decoder class is installed and usable.
#pragma once

#include <atomic>

namespace kvplay {

struct DecoderCapabilities {
    std::atomic<bool> h264{false};
    std::atomic<bool> h265{false};
    std::atomic<bool> mjpeg{false};
    std::atomic<bool> hardware{false};
};

DecoderCapabilities& decoderCapabilities();
// Looks the software decoders up in FFmpeg and sets their flags.
void probeDecoderCapabilities();

}  // namespace kvplay
