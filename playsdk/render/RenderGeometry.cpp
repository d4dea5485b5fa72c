#include "RenderGeometry.h"

namespace kvplay {
namespace {

// Moves the edges of [low, high) in by the margins that fit.
void cut(int32_t& low, int32_t& high, int32_t lowMargin, int32_t highMargin) {
    if (lowMargin >= 1 && lowMargin < high - low)
        low += lowMargin;
    if (highMargin >= 1 && highMargin < high - low)
        high -= highMargin;
}

}  // namespace

PixelRect sourceRectangle(int32_t pictureWidth, int32_t pictureHeight, const ViewMargins* margins) {
    PixelRect r{0, 0, pictureWidth, pictureHeight};
    if (margins) {
        cut(r.left, r.right, margins->left, margins->right);
        cut(r.top, r.bottom, margins->top, margins->bottom);
    }
    return r;
}

PixelRect destinationRectangle(const PixelRect& client, int32_t aspectMode, const PixelRect& source) {
    int64_t a, b;
    switch (static_cast<AspectMode>(aspectMode)) {
        case AspectMode::Picture:
            a = source.width();
            b = source.height();
            break;
        case AspectMode::FourByThree:
            a = 4;
            b = 3;
            break;
        case AspectMode::SixteenByNine:
            a = 16;
            b = 9;
            break;
        default:
            return client;
    }
    PixelRect d = client;
    const int64_t w = client.width(), h = client.height();
    if (a <= 0 || b <= 0)
        return d;
    if (h * a <= w * b) {
        const auto fitted = static_cast<int32_t>(h * a / b);
        const int32_t spare = client.width() - fitted;
        d.left += spare / 2;
        d.right = d.left + fitted;
    } else {
        const auto fitted = static_cast<int32_t>(w * b / a);
        const int32_t spare = client.height() - fitted;
        d.top += spare / 2;
        d.bottom = d.top + fitted;
    }
    return d;
}

}  // namespace kvplay
