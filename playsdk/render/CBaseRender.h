// A renderer: draws pictures into one window, scaled into the rectangle that the view area and the
// aspect mode give. Results of render: 0 drawn, -1 nothing could be drawn (hidden, empty or vanished
// window, or a lost device), -2 a resource could not be made, -3 the renderer declines the picture.
#pragma once

#include <cstdint>

#include "KVPlay.h"
#include "OverlayPainter.h"
#include "OverlaySettings.h"
#include "RenderGeometry.h"

namespace kvplay {

class CBaseRender {
public:
    explicit CBaseRender(uintptr_t window) : window_(window) {}
    virtual ~CBaseRender() = default;
    CBaseRender(const CBaseRender&) = delete;
    CBaseRender& operator=(const CBaseRender&) = delete;

    virtual int32_t render(const KVPlayPictureDescriptor& picture) = 0;
    // The displays changed: a renderer bound to them rebuilds before its next picture.
    virtual void displayConfigurationChanged() {}
    // Takes over what a replaced renderer was told to draw and how (not its view area).
    void adoptSettings(CBaseRender& previous);

    // Margins in picture pixels; a view area that covers the whole picture is no view area.
    void adjustViewArea(int32_t left, int32_t right, int32_t top, int32_t bottom);
    void keepAspectRatio(int32_t mode);
    int32_t pictureWidth() const { return pictureWidth_; }
    int32_t pictureHeight() const { return pictureHeight_; }

    // What goes over the pictures.
    int32_t setOsdString(int32_t index, const void* item);
    int32_t removeOsdString(int32_t index);
    int32_t getAllOsdStrings(void* items, void* enabled) const;
    int32_t registerDrawFunction(void* function, void* user);
    int32_t registerWrapperDrawCallback(void* callback, void* user);
    int32_t registerBeforeRenderCallback(void* callback, void* user);
    int32_t uploadPicture(const void* bytes, uint32_t size) { return overlay_.pictures.upload(bytes, size); }
    int32_t deletePicture(int32_t id) { return overlay_.pictures.remove(id); }
    // The drawing primitives, for the wrapper draw callback.
    OverlayPainter& painter() { return painter_; }

protected:
    // Where the picture goes in a client area of this size.
    void placePicture(int32_t clientWidth, int32_t clientHeight, PixelRect& source, PixelRect& destination) const;
    // True once after the aspect mode changed: the bars must be cleared.
    bool takeAspectChange();
    bool overlaysNeeded() const { return overlay_.anyToDraw(); }
    void drawOverlays(cairo_surface_t* surface, const PixelRect& destination) {
        painter_.paint(surface, destination, overlay_);
    }

    const uintptr_t window_;
    int32_t pictureWidth_ = 0;
    int32_t pictureHeight_ = 0;

private:
    bool viewAreaActive_ = false;
    ViewMargins viewArea_;
    int32_t aspectMode_ = 0;
    bool aspectChanged_ = false;
    OverlaySettings overlay_;
    OverlayPainter painter_;
};

}  // namespace kvplay
