#include "VideoWindow.h"

#include <QEvent>

VideoWindow::VideoWindow(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoWindow::bindPlayer(void* player, const KVPlayPlayOptions& options) {
    player_ = player;
    options_ = options;
    handOver();
}

void VideoWindow::handOver() {
    if (player_)
        KVPlaySetPlayWndEx(player_, nativeWindow(), &options_);
}

bool VideoWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WinIdChange) {
        handOver();
        emit nativeWindowChanged();
    }
    return handled;
}
