// A frameless window maximizes itself by covering the available desktop; this keeps the geometry it
// had before, so that restoring puts it back where the user left it.
#pragma once

#include <QRect>

#include <optional>

class QWidget;

class MaximizeState {
public:
    bool isMaximized() const { return maximized_; }
    // Saves the window's geometry and answers the available rectangle of its screen to cover; nothing
    // when already maximized, so the first saved geometry is kept.
    std::optional<QRect> maximize(const QWidget& window);
    // The saved geometry to go back to; nothing unless maximized.
    std::optional<QRect> restore();

private:
    bool maximized_ = false;
    QRect normal_;
};
