// Where a picture goes in a window: the part of the picture shown (the view area's margins) and the
// rectangle of the window it is scaled into (the aspect mode). Pure arithmetic, in whole pixels.
#pragma once

#include <cstdint>

namespace kvplay {

struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Margins cut from the picture's edges, in picture pixels.
struct ViewMargins {
    int32_t left = 0;
    int32_t right = 0;
    int32_t top = 0;
    int32_t bottom = 0;
};

enum class AspectMode : int32_t { Stretch = 0, Picture = 1, FourByThree = 2, SixteenByNine = 3 };

// The whole picture, less each margin that is at least 1 and smaller than what is left of that side.
PixelRect sourceRectangle(int32_t pictureWidth, int32_t pictureHeight, const ViewMargins* margins);
// The client rectangle, or the largest centred rectangle of the mode's aspect ratio within it.
PixelRect destinationRectangle(const PixelRect& client, int32_t aspectMode, const PixelRect& source);

}  // namespace kvplay
