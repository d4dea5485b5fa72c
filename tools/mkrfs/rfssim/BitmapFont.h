// A 5x7 pixel font for the captions burnt into the simulated pictures.
#pragma once

#include <array>
#include <cstdint>

namespace rfssim {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// One row per byte, the leftmost pixel in bit 4. Characters the font lacks come out blank.
using Glyph = std::array<uint8_t, kGlyphHeight>;

const Glyph& glyphFor(char c);

}  // namespace rfssim
