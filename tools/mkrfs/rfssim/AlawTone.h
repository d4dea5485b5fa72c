// The simulated microphone: a steady tone per channel, G.711 A-law coded at 8 kHz.
#pragma once

#include <cstdint>
#include <vector>

namespace rfssim {

constexpr int kAudioSampleRate = 8000;
constexpr int kAudioBlockSamples = 320;  // 40 ms per audio frame
constexpr int64_t kAudioBlockUs = int64_t{kAudioBlockSamples} * 1'000'000 / kAudioSampleRate;

uint8_t linearToAlaw(int16_t sample);

// The number, counted from 1970, of the sample captured at timeUs (a sample lasts 125 µs).
constexpr int64_t sampleNumberAt(int64_t timeUs) {
    return timeUs / (1'000'000 / kAudioSampleRate);
}

// Sample number n counted from 1970, so the tone runs on across frames and events.
int16_t toneSample(int userChannel, int64_t sampleNumber);

std::vector<uint8_t> alawToneBlock(int userChannel, int64_t firstSampleNumber);

}  // namespace rfssim
