// What a caller asked to be drawn over the pictures of a window. It moves with the window's renderer
// when another kind of renderer takes over.
#pragma once

#include <array>

#include "KVPlay.h"
#include "UploadedPictures.h"

namespace kvplay {

struct OverlaySettings {
    static constexpr int32_t kOsdSlots = 36;

    std::array<bool, kOsdSlots> osdEnabled{};
    std::array<KVPlayOsdItem, kOsdSlots> osd{};
    KVPlayDrawFunction drawFunction = nullptr;
    void* drawUser = nullptr;
    KVPlayWrapperDrawCallback wrapperDraw = nullptr;
    void* wrapperUser = nullptr;
    // Kept and handed on, never called.
    void* beforeRender = nullptr;
    void* beforeRenderUser = nullptr;
    UploadedPictures pictures;

    bool anyToDraw() const {
        if (drawFunction || wrapperDraw)
            return true;
        for (const bool enabled : osdEnabled)
            if (enabled)
                return true;
        return false;
    }
};

}  // namespace kvplay
