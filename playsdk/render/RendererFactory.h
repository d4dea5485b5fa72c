// Which renderers exist: the surface renderer (X video) and the scaling renderer, both drawing over
// the library's X connection. Tests install their own to inject failures.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "CBaseRender.h"

namespace kvplay {

enum class RendererKind { Surface, Scaling };

using RendererFactory = std::function<std::unique_ptr<CBaseRender>(RendererKind kind, uintptr_t window)>;

// The renderer of that kind for the window; null when it cannot exist here (no X display).
std::unique_ptr<CBaseRender> createRenderer(RendererKind kind, uintptr_t window);
// Null restores the real renderers.
void setRendererFactory(RendererFactory factory);

}  // namespace kvplay
