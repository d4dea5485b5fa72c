// Turns frames into pictures for one instance: picks the decoder for the frame's codec and size,
// replaces it when either changes, waits for a key frame after a gap or an error, and falls back from
// the hardware decoder to the software ones. It has a lock of its own, so the decode work and any other
// path take turns on the decoder.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "CBaseDecoder.h"
#include "KVPlay.h"

namespace kvplay {

// Codec byte of a frame header: 1 H.264, 7 H.265, 4 MJPEG, 0 not decodable.
int32_t normalizedVideoCodec(uint8_t codec);

class DecoderHolder {
public:
    explicit DecoderHolder(int32_t decodePolicy) : decodePolicy_(decodePolicy) {}

    // Decodes the frame (header, payload, 64 zero bytes); on a picture calls usePicture with the output
    // while the decoder still owns its planes. Results are the DecodeResult codes.
    int32_t decode(const uint8_t* frame, bool display, const std::function<void(const DecodeOutput&)>& usePicture);

    // The instance's switches from the window options.
    void setSwitches(bool hardwareAllowed, bool decodeAndRender);
    void setExternalDecoder(KVPlayDecodeCallback callback, void* user);
    // The kind of the current decoder, 0 when there is none.
    int32_t currentKind();

private:
    int32_t decodeLocked(const uint8_t* frame, bool display, DecodeOutput& out);
    int32_t decodeExternally(const uint8_t* frame, DecodeOutput& out);
    int32_t decodeWith(const uint8_t* frame, bool display, DecodeOutput& out);
    std::unique_ptr<CBaseDecoder> createDecoder(int32_t codec, bool display, int32_t width, int32_t height);
    std::unique_ptr<CBaseDecoder> createSoftwareDecoder(int32_t codec);
    void release();

    const int32_t decodePolicy_;
    std::mutex lock_;
    std::unique_ptr<CBaseDecoder> decoder_;
    bool waitingForKeyFrame_ = true;
    bool haveSequence_ = false;
    uint32_t lastSequence_ = 0;
    int32_t codec_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    bool hardwareAllowed_ = true;
    bool decodeAndRender_ = false;
    KVPlayDecodeCallback external_ = nullptr;
    void* externalUser_ = nullptr;
    std::unique_ptr<uint8_t[]> externalBuffer_;
    std::size_t externalBufferSize_ = 0;
};

}  // namespace kvplay
