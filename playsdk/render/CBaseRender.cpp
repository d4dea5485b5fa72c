#include "CBaseRender.h"

#include <cstring>

namespace kvplay {

void CBaseRender::adjustViewArea(int32_t left, int32_t right, int32_t top, int32_t bottom) {
    viewArea_ = ViewMargins{left, right, top, bottom};
    viewAreaActive_ = !(right - left == pictureWidth_ && bottom - top == pictureHeight_);
}

void CBaseRender::keepAspectRatio(int32_t mode) {
    aspectMode_ = mode;
    aspectChanged_ = true;
}

void CBaseRender::adoptSettings(CBaseRender& previous) {
    overlay_ = std::move(previous.overlay_);
    aspectMode_ = previous.aspectMode_;
    aspectChanged_ = true;
}

bool CBaseRender::takeAspectChange() {
    const bool changed = aspectChanged_;
    aspectChanged_ = false;
    return changed;
}

int32_t CBaseRender::setOsdString(int32_t index, const void* item) {
    if (index < 0 || index >= OverlaySettings::kOsdSlots || !item)
        return -1;
    std::memcpy(&overlay_.osd[index], item, sizeof(KVPlayOsdItem));
    overlay_.osdEnabled[index] = true;
    return 0;
}

int32_t CBaseRender::removeOsdString(int32_t index) {
    if (index < 0 || index >= OverlaySettings::kOsdSlots)
        return -1;
    overlay_.osdEnabled[index] = false;
    return 0;
}

int32_t CBaseRender::getAllOsdStrings(void* items, void* enabled) const {
    if (!items || !enabled)
        return -1;
    std::memcpy(items, overlay_.osd.data(), sizeof overlay_.osd);
    auto* flags = static_cast<uint8_t*>(enabled);
    for (int32_t i = 0; i < OverlaySettings::kOsdSlots; ++i)
        flags[i] = overlay_.osdEnabled[i];
    return 0;
}

int32_t CBaseRender::registerDrawFunction(void* function, void* user) {
    overlay_.drawFunction = reinterpret_cast<KVPlayDrawFunction>(function);
    overlay_.drawUser = user;
    return 0;
}

int32_t CBaseRender::registerWrapperDrawCallback(void* callback, void* user) {
    overlay_.wrapperDraw = reinterpret_cast<KVPlayWrapperDrawCallback>(callback);
    overlay_.wrapperUser = user;
    return 0;
}

int32_t CBaseRender::registerBeforeRenderCallback(void* callback, void* user) {
    overlay_.beforeRender = callback;
    overlay_.beforeRenderUser = user;
    return 0;
}

void CBaseRender::placePicture(int32_t clientWidth, int32_t clientHeight, PixelRect& source,
                               PixelRect& destination) const {
    source = sourceRectangle(pictureWidth_, pictureHeight_, viewAreaActive_ ? &viewArea_ : nullptr);
    destination = destinationRectangle(PixelRect{0, 0, clientWidth, clientHeight}, aspectMode_, source);
}

}  // namespace kvplay
