#include "DraggableTitleBar.h"

#include <QMouseEvent>

void DraggableTitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QFrame::mousePressEvent(event);
    pressed_ = true;
    lastGlobal_ = event->globalPos();
    emit pressWindowRequest();
}

void DraggableTitleBar::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_)
        return QFrame::mouseMoveEvent(event);
    const QPoint offset = event->globalPos() - lastGlobal_;
    lastGlobal_ = event->globalPos();
    emit moveWindowRequest(offset);
}

void DraggableTitleBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed_ = false;
    QFrame::mouseReleaseEvent(event);
}
