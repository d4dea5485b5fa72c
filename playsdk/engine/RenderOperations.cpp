// The instance operations that reach the window's renderer: view area, aspect, and what is drawn over
// the pictures. Without a renderer they answer -1.
#include "CNetStreamPlay.h"

namespace kvplay {

int32_t CNetStreamPlay::adjustViewArea(int32_t left, int32_t right, int32_t top, int32_t bottom) {
    return render_.withRenderer([&](CBaseRender& r) {
        r.adjustViewArea(left, right, top, bottom);
        return 0;
    });
}

int32_t CNetStreamPlay::keepAspectRatio(int32_t mode) {
    return render_.withRenderer([&](CBaseRender& r) {
        r.keepAspectRatio(mode);
        return 0;
    });
}

void CNetStreamPlay::displayConfigurationChanged(const std::vector<MonitorEntry>&) {
    render_.displayConfigurationChanged();
}

int32_t CNetStreamPlay::setOsdString(int32_t index, const void* item) {
    return render_.withRenderer([&](CBaseRender& r) { return r.setOsdString(index, item); });
}

int32_t CNetStreamPlay::removeOsdString(int32_t index) {
    return render_.withRenderer([&](CBaseRender& r) { return r.removeOsdString(index); });
}

int32_t CNetStreamPlay::getAllOsdStrings(void* items, void* enabled) {
    return render_.withRenderer([&](CBaseRender& r) { return r.getAllOsdStrings(items, enabled); });
}

int32_t CNetStreamPlay::registerDrawFunction(void* function, void* user) {
    return render_.withRenderer([&](CBaseRender& r) { return r.registerDrawFunction(function, user); });
}

int32_t CNetStreamPlay::registerBeforeRenderCallback(void* callback, void* user) {
    return render_.withRenderer([&](CBaseRender& r) { return r.registerBeforeRenderCallback(callback, user); });
}

int32_t CNetStreamPlay::registerWrapperDrawCallback(void* callback, void* user) {
    return render_.withRenderer([&](CBaseRender& r) { return r.registerWrapperDrawCallback(callback, user); });
}

int32_t CNetStreamPlay::uploadPicture(const void* bytes, uint32_t size) {
    return render_.withRenderer([&](CBaseRender& r) { return r.uploadPicture(bytes, size); });
}

int32_t CNetStreamPlay::deletePicture(int32_t id) {
    return render_.withRenderer([&](CBaseRender& r) { return r.deletePicture(id); });
}

int32_t CNetStreamPlay::setColor(const float* rgb) {
    return render_.withRenderer([&](CBaseRender& r) { return r.painter().setColor(rgb); });
}

int32_t CNetStreamPlay::drawLines(const float* lines, int32_t count) {
    return render_.withRenderer([&](CBaseRender& r) { return r.painter().drawLines(lines, count); });
}

int32_t CNetStreamPlay::drawRects(const float* rects, int32_t count) {
    return render_.withRenderer([&](CBaseRender& r) { return r.painter().drawRects(rects, count); });
}

int32_t CNetStreamPlay::drawSolidRects(const float* rects, int32_t count, float alpha) {
    return render_.withRenderer([&](CBaseRender& r) { return r.painter().drawSolidRects(rects, count, alpha); });
}

int32_t CNetStreamPlay::drawText(const char* text, const float* rect) {
    return render_.withRenderer([&](CBaseRender& r) { return r.painter().drawText(text, rect); });
}

int32_t CNetStreamPlay::drawPicture(int32_t id, const float* rect, float alpha) {
    return render_.withRenderer([&](CBaseRender& r) { return r.painter().drawPicture(id, rect, alpha); });
}

}  // namespace kvplay
