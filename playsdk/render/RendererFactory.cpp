#include "RendererFactory.h"

#include <mutex>

#include "CD2D1Render.h"
#include "CDDrawRender.h"

namespace kvplay {
namespace {

std::mutex factoryLock;
RendererFactory installed;

}  // namespace

std::unique_ptr<CBaseRender> createRenderer(RendererKind kind, uintptr_t window) {
    {
        std::lock_guard guard(factoryLock);
        if (installed)
            return installed(kind, window);
    }
    X11Display* display = X11Display::instance();
    if (!display)
        return nullptr;
    if (kind == RendererKind::Surface)
        return std::make_unique<CDDrawRender>(*display, window);
    return std::make_unique<CD2D1Render>(*display, window);
}

void setRendererFactory(RendererFactory factory) {
    std::lock_guard guard(factoryLock);
    installed = std::move(factory);
}

}  // namespace kvplay
