#include "rfssim/ScenePainter.h"

#include <algorithm>
#include <cstdio>

#include "rfs/PackedTime.h"
#include "rfssim/BitmapFont.h"

namespace rfssim {
namespace {

struct Rgb {
    int r, g, b;
};

// Dark, saturated backgrounds so that white captions stay readable on every channel.
constexpr Rgb kPalette[] = {{30, 60, 150},  {150, 40, 40},  {30, 115, 50}, {125, 95, 20},
                            {105, 40, 125}, {20, 110, 120}, {90, 90, 90},  {150, 75, 20}};

constexpr int kCaptionColumns = 23;  // the longest caption: "YYYY-MM-DD HH:MM:SS.mmm"

}  // namespace

std::string channelCaption(int userChannel, StreamKind stream) {
    return "CH " + std::to_string(userChannel) + (stream == StreamKind::Sub ? " SUB" : "");
}

std::string captureTimeCaption(int64_t captureTimeUs) {
    const int64_t seconds = captureTimeUs / 1'000'000;
    char millis[8];
    std::snprintf(millis, sizeof millis, ".%03d", static_cast<int>(captureTimeUs % 1'000'000 / 1000));
    return rfs::formatTime(rfs::fromEpochSeconds(seconds)) + millis;
}

ScenePainter::ScenePainter(int width, int height, int userChannel, std::string caption, int grain)
    : caption_(std::move(caption)), grain_(grain) {
    picture_.width = width;
    picture_.height = height;
    picture_.y.resize(static_cast<std::size_t>(width) * height);
    picture_.u.resize(static_cast<std::size_t>(width / 2) * (height / 2));
    picture_.v.resize(picture_.u.size());
    // BT.601 limited range.
    const Rgb c = kPalette[(userChannel - 1) % std::size(kPalette)];
    background_ = Colour{static_cast<uint8_t>(((66 * c.r + 129 * c.g + 25 * c.b + 128) >> 8) + 16),
                         static_cast<uint8_t>(((-38 * c.r - 74 * c.g + 112 * c.b + 128) >> 8) + 128),
                         static_cast<uint8_t>(((112 * c.r - 94 * c.g - 18 * c.b + 128) >> 8) + 128)};
    const int cell = kGlyphWidth + 1;
    scale_ = std::max(1, std::min((width - 4) / (kCaptionColumns * cell), height / 40));
}

void ScenePainter::fillRect(int x0, int y0, int x1, int y1, Colour colour) {
    x0 = std::clamp(x0, 0, picture_.width);
    x1 = std::clamp(x1, 0, picture_.width);
    y0 = std::clamp(y0, 0, picture_.height);
    y1 = std::clamp(y1, 0, picture_.height);
    if (x0 >= x1 || y0 >= y1)
        return;
    for (int row = y0; row < y1; ++row)
        std::fill_n(picture_.y.begin() + row * picture_.width + x0, x1 - x0, colour.y);
    const int chromaWidth = picture_.width / 2;
    for (int row = y0 / 2; row < std::min((y1 + 1) / 2, picture_.height / 2); ++row) {
        const int first = x0 / 2;
        const int count = std::min((x1 + 1) / 2, chromaWidth) - first;
        std::fill_n(picture_.u.begin() + row * chromaWidth + first, count, colour.u);
        std::fill_n(picture_.v.begin() + row * chromaWidth + first, count, colour.v);
    }
}

void ScenePainter::drawText(const std::string& text, int x, int y, Colour colour) {
    for (char c : text) {
        const Glyph& glyph = glyphFor(c);
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int col = 0; col < kGlyphWidth; ++col)
                if (glyph[row] & (0x10 >> col))
                    fillRect(x + col * scale_, y + row * scale_, x + (col + 1) * scale_, y + (row + 1) * scale_,
                             colour);
        x += (kGlyphWidth + 1) * scale_;
    }
}

// Deterministic: the same picture number always gets the same noise.
void ScenePainter::addGrain(int64_t frameNumber) {
    uint64_t state = static_cast<uint64_t>(frameNumber) * 0x9e3779b97f4a7c15ull + 1;
    const int span = 2 * grain_ + 1;
    for (uint8_t& luma : picture_.y) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        const int value = luma + static_cast<int>(state % static_cast<uint64_t>(span)) - grain_;
        luma = static_cast<uint8_t>(std::clamp(value, 16, 235));
    }
}

const Picture& ScenePainter::paint(int64_t captureTimeUs, int64_t frameNumber) {
    const int w = picture_.width;
    const int h = picture_.height;
    std::fill(picture_.y.begin(), picture_.y.end(), background_.y);
    std::fill(picture_.u.begin(), picture_.u.end(), background_.u);
    std::fill(picture_.v.begin(), picture_.v.end(), background_.v);

    const int barWidth = std::max(2, w / 20);
    const int step = std::max(1, w / 64);
    const int barX = static_cast<int>(frameNumber * step % (w - barWidth));
    fillRect(barX, h / 2, barX + barWidth, h - 2 * scale_, Colour{200, 128, 128});
    if (grain_ > 0)
        addGrain(frameNumber);

    const Colour white{235, 128, 128};
    const Colour shadow{16, 128, 128};
    const int margin = 2 * scale_;
    const int lineHeight = (kGlyphHeight + 3) * scale_;
    const std::string lines[] = {caption_, captureTimeCaption(captureTimeUs)};
    for (int i = 0; i < 2; ++i) {
        const int top = margin + i * lineHeight;
        drawText(lines[i], margin + scale_, top + scale_, shadow);
        drawText(lines[i], margin, top, white);
    }
    return picture_;
}

}  // namespace rfssim
