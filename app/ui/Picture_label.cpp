#include "Picture_label.h"

#include <QMouseEvent>

Picture_label::Picture_label(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setScaledContents(true);
    setAlignment(Qt::AlignCenter);
}

void Picture_label::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit openFileReq();
    }
    QLabel::mousePressEvent(event);
}
