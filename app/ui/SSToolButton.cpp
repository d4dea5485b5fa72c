#include "SSToolButton.h"

#include <QImage>

#include "Skin.h"
#include "SpriteStyle.h"

SSToolButton::SSToolButton(QWidget* parent, bool notifyHover) : QToolButton(parent), notifyHover_(notifyHover) {}

void SSToolButton::setupSprite(const QString& spritePath, int direction, int sliceSize, int styleKind, int firstSlice) {
    const QSize sprite = QImage(spritePath).size();
    setStyleSheet(SpriteStyle::styleSheet(spritePath, sprite, direction, sliceSize, styleKind, firstSlice));
}

void SSToolButton::setupWindowButtonSprite(const QString& name) {
    setupSprite(Skin::path(name, true, "svg"), 3, 16, 6, 0);
}

void SSToolButton::enterEvent(QEvent* event) {
    QToolButton::enterEvent(event);
    if (notifyHover_)
        emit MouseEnter();
}

void SSToolButton::leaveEvent(QEvent* event) {
    QToolButton::leaveEvent(event);
    if (notifyHover_)
        emit MouseLeave();
}
