#include "rfssim/AlawTone.h"

#include <cmath>
#include <numbers>

namespace rfssim {

uint8_t linearToAlaw(int16_t sample) {
    int value = sample >> 3;  // A-law codes 13 bits
    uint8_t mask = 0xD5;      // sign bit set for non-negative values, even bits inverted
    if (value < 0) {
        mask = 0x55;
        value = -value - 1;
    }
    int segment = 0;
    while (segment < 8 && value >= (0x20 << segment))
        ++segment;
    if (segment == 8)
        return static_cast<uint8_t>(0x7F ^ mask);
    const int mantissa = (segment < 2 ? value >> 1 : value >> segment) & 0x0F;
    return static_cast<uint8_t>(((segment << 4) | mantissa) ^ mask);
}

int16_t toneSample(int userChannel, int64_t sampleNumber) {
    // A whole number of periods per second keeps the phase exact however far from 1970.
    const int frequency = 300 + 100 * ((userChannel - 1) % 8);
    const double phase =
        2.0 * std::numbers::pi * frequency * static_cast<double>(sampleNumber % kAudioSampleRate) / kAudioSampleRate;
    return static_cast<int16_t>(std::lround(8000.0 * std::sin(phase)));
}

std::vector<uint8_t> alawToneBlock(int userChannel, int64_t firstSampleNumber) {
    std::vector<uint8_t> block(kAudioBlockSamples);
    for (int i = 0; i < kAudioBlockSamples; ++i)
        block[i] = linearToAlaw(toneSample(userChannel, firstSampleNumber + i));
    return block;
}

}  // namespace rfssim
