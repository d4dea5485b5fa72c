#include "OverlayPainter.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace kvplay {
namespace {

constexpr int kPrimitiveTextPixels = 16;
constexpr int kPrimitiveTextCharacters = 63;
constexpr int kOsdWeight = 155;

struct CairoDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

// At most `limit` characters of UTF-8 text, cut at a character boundary; invalid text gives nothing.
std::string firstCharacters(const char* text, std::size_t bytes, int limit) {
    if (!g_utf8_validate(text, static_cast<gssize>(bytes), nullptr))
        return {};
    const char* end = text;
    for (int n = 0; n < limit && end < text + bytes && *end; ++n)
        end = g_utf8_next_char(end);
    return std::string(text, end);
}

// Text laid out top-left in a box with a font of the given face, pixel height and weight.
void showText(cairo_t* cr, const std::string& text, const char* face, int pixels, int weight, double left, double top,
              double width, double height) {
    // Sizes come from callers: kept where pango's fixed-point numbers hold them.
    constexpr int kLargestPixels = 4096;
    pixels = std::clamp(pixels, 1, kLargestPixels);
    width = std::clamp(width, 0.0, 65536.0);
    std::unique_ptr<PangoLayout, decltype(&g_object_unref)> layout(pango_cairo_create_layout(cr), &g_object_unref);
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, face);
    pango_font_description_set_absolute_size(font, pixels * PANGO_SCALE);
    pango_font_description_set_weight(font, static_cast<PangoWeight>(weight));
    pango_layout_set_font_description(layout.get(), font);
    pango_font_description_free(font);
    pango_layout_set_width(layout.get(), static_cast<int>(width * PANGO_SCALE));
    pango_layout_set_text(layout.get(), text.c_str(), -1);
    cairo_save(cr);
    cairo_rectangle(cr, left, top, width, height);
    cairo_clip(cr);
    cairo_move_to(cr, left, top);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
}

}  // namespace

void OverlayPainter::paint(cairo_surface_t* surface, const PixelRect& destination, OverlaySettings& settings) {
    std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface));
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
        return;
    cairo_set_line_width(cr.get(), 1);
    if (settings.wrapperDraw) {
        KVPlayDrawInfo info{};
        info.dc = cr.get();
        info.width = destination.width();
        info.height = destination.height();
        info.left = destination.left;
        info.top = destination.top;
        active_ = cr.get();
        pictures_ = &settings.pictures;
        destination_ = destination;
        red_ = green_ = blue_ = 0;
        settings.wrapperDraw(&info, settings.wrapperUser);
        active_ = nullptr;
        pictures_ = nullptr;
    } else {
        drawOsd(cr.get(), settings);
    }
    if (settings.drawFunction)
        settings.drawFunction(cr.get(), destination.width(), destination.height(), settings.drawUser, destination.left,
                              destination.top);
    cairo_surface_flush(surface);
}

void OverlayPainter::drawOsd(cairo_t* cr, const OverlaySettings& settings) const {
    for (int32_t i = 0; i < OverlaySettings::kOsdSlots; ++i) {
        if (!settings.osdEnabled[i])
            continue;
        const KVPlayOsdItem& item = settings.osd[i];
        const std::string face = firstCharacters(item.fontFace, strnlen(item.fontFace, sizeof item.fontFace), 24);
        const std::string text = firstCharacters(item.text, strnlen(item.text, sizeof item.text), 128);
        cairo_set_source_rgb(cr, item.red / 255.0, item.green / 255.0, item.blue / 255.0);
        showText(cr, text, face.c_str(), item.fontHeight, kOsdWeight, item.left, item.top, item.right - item.left,
                 item.bottom - item.top);
    }
}

int32_t OverlayPainter::setColor(const float* rgb) {
    if (!active_ || !rgb)
        return -1;
    red_ = rgb[0];
    green_ = rgb[1];
    blue_ = rgb[2];
    return 0;
}

int32_t OverlayPainter::drawLines(const float* lines, int32_t count) {
    if (!active_ || !lines || count < 0)
        return -1;
    cairo_set_source_rgb(active_, red_, green_, blue_);
    for (int32_t i = 0; i < count; ++i) {
        const float* l = lines + 4 * i;
        cairo_move_to(active_, x(l[0]), y(l[1]));
        cairo_line_to(active_, x(l[2]), y(l[3]));
    }
    cairo_stroke(active_);
    return 0;
}

int32_t OverlayPainter::drawRects(const float* rects, int32_t count) {
    if (!active_ || !rects || count < 0)
        return -1;
    cairo_set_source_rgb(active_, red_, green_, blue_);
    for (int32_t i = 0; i < count; ++i) {
        const float* r = rects + 4 * i;
        // Half-pixel offsets put a 1-pixel line on whole pixels.
        cairo_rectangle(active_, x(r[0]) + 0.5, y(r[1]) + 0.5, x(r[2]) - x(r[0]), y(r[3]) - y(r[1]));
    }
    cairo_stroke(active_);
    return 0;
}

int32_t OverlayPainter::drawSolidRects(const float* rects, int32_t count, float alpha) {
    if (!active_ || !rects || count < 0)
        return -1;
    cairo_set_source_rgba(active_, red_, green_, blue_, alpha);
    for (int32_t i = 0; i < count; ++i) {
        const float* r = rects + 4 * i;
        cairo_rectangle(active_, x(r[0]), y(r[1]), x(r[2]) - x(r[0]), y(r[3]) - y(r[1]));
    }
    cairo_fill(active_);
    return 0;
}

int32_t OverlayPainter::drawText(const char* text, const float* rect) {
    if (!active_ || !text || !rect)
        return -1;
    // Fractions of the picture's rectangle, or pixels from its top-left corner.
    const bool fractions = rect[0] < 1.1f;
    const double left = fractions ? x(rect[0]) : destination_.left + rect[0];
    const double top = fractions ? y(rect[1]) : destination_.top + rect[1];
    const double right = fractions ? x(rect[2]) : destination_.left + rect[2];
    const double bottom = fractions ? y(rect[3]) : destination_.top + rect[3];
    cairo_set_source_rgb(active_, red_, green_, blue_);
    showText(active_, firstCharacters(text, std::strlen(text), kPrimitiveTextCharacters), "Arial", kPrimitiveTextPixels,
             PANGO_WEIGHT_NORMAL, left, top, right - left, bottom - top);
    return 0;
}

int32_t OverlayPainter::drawPicture(int32_t id, const float* rect, float alpha) {
    if (!active_ || !rect || !pictures_)
        return -1;
    cairo_surface_t* picture = pictures_->picture(id);
    if (!picture)
        return -1;
    const double width = x(rect[2]) - x(rect[0]), height = y(rect[3]) - y(rect[1]);
    const int pw = cairo_image_surface_get_width(picture), ph = cairo_image_surface_get_height(picture);
    if (width <= 0 || height <= 0 || pw <= 0 || ph <= 0)
        return -1;
    cairo_save(active_);
    cairo_translate(active_, x(rect[0]), y(rect[1]));
    cairo_scale(active_, width / pw, height / ph);
    cairo_set_source_surface(active_, picture, 0, 0);
    cairo_paint_with_alpha(active_, alpha);
    cairo_restore(active_);
    return 0;
}

}  // namespace kvplay
