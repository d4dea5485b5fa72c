// Draws what goes over a picture: the wrapper draw callback with the primitives it may call, or else
// the enabled text slots, then the draw function; all with cairo (pango for text) on the back buffer.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "OverlaySettings.h"
#include "RenderGeometry.h"

namespace kvplay {

class OverlayPainter {
public:
    // Draws on the surface (a back buffer, or the window itself); destination: the picture's rectangle.
    void paint(cairo_surface_t* surface, const PixelRect& destination, OverlaySettings& settings);

    // The primitives: they draw only while the wrapper draw callback runs and answer -1 otherwise.
    // Coordinates are fractions of the picture's rectangle.
    int32_t setColor(const float* rgb);
    int32_t drawLines(const float* lines, int32_t count);
    int32_t drawRects(const float* rects, int32_t count);
    int32_t drawSolidRects(const float* rects, int32_t count, float alpha);
    int32_t drawText(const char* text, const float* rect);
    int32_t drawPicture(int32_t id, const float* rect, float alpha);

private:
    void drawOsd(cairo_t* cr, const OverlaySettings& settings) const;
    double x(float fraction) const { return destination_.left + double(fraction) * destination_.width(); }
    double y(float fraction) const { return destination_.top + double(fraction) * destination_.height(); }

    cairo_t* active_ = nullptr;  // set while the wrapper draw callback runs
    const UploadedPictures* pictures_ = nullptr;
    PixelRect destination_;
    double red_ = 0, green_ = 0, blue_ = 0;
};

}  // namespace kvplay
