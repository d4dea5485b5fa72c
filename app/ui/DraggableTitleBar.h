// The part of a title bar that the user drags: it reports each mouse move as an offset and leaves the
// moving to its window, which alone knows whether it may move.
#pragma once

#include <QFrame>
#include <QPoint>

class DraggableTitleBar : public QFrame {
    Q_OBJECT

public:
    using QFrame::QFrame;

signals:
    void pressWindowRequest();
    // The mouse moved by `offset` (global coordinates) since the last report while the left button was down.
    void moveWindowRequest(QPoint offset);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
    QPoint lastGlobal_;
};
