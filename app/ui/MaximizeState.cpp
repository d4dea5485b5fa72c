#include "MaximizeState.h"

#include <QScreen>
#include <QWidget>

std::optional<QRect> MaximizeState::maximize(const QWidget& window) {
    if (maximized_)
        return std::nullopt;
    maximized_ = true;
    normal_ = window.geometry();
    return window.screen()->availableGeometry();
}

std::optional<QRect> MaximizeState::restore() {
    if (!maximized_)
        return std::nullopt;
    maximized_ = false;
    return normal_;
}
