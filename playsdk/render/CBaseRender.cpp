#include "CBaseRender.h"

namespace kvplay {

void CBaseRender::adjustViewArea(int32_t left, int32_t right, int32_t top, int32_t bottom) {
    viewArea_ = ViewMargins{left, right, top, bottom};
    viewAreaActive_ = !(right - left == pictureWidth_ && bottom - top == pictureHeight_);
}

void CBaseRender::keepAspectRatio(int32_t mode) {
    aspectMode_ = mode;
    aspectChanged_ = true;
}

bool CBaseRender::takeAspectChange() {
    const bool changed = aspectChanged_;
    aspectChanged_ = false;
    return changed;
}

void CBaseRender::placePicture(int32_t clientWidth, int32_t clientHeight, PixelRect& source,
                               PixelRect& destination) const {
    source = sourceRectangle(pictureWidth_, pictureHeight_, viewAreaActive_ ? &viewArea_ : nullptr);
    destination = destinationRectangle(PixelRect{0, 0, clientWidth, clientHeight}, aspectMode_, source);
}

}  // namespace kvplay
