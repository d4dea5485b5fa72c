// The program's one top-level window: frameless, with its own title bar above the main view. Closing
// asks first, then waits for the view's work to end before the window goes.
#pragma once

#include <QFrame>
#include <QTimer>

#include "MaximizeState.h"

class KVContentWidget;
class TitleBar;

class KVWindBase : public QFrame {
    Q_OBJECT

public:
    explicit KVWindBase(QWidget* parent = nullptr);

    // The normal geometry on a desktop whose available rectangle is `available`.
    static QRect initialGeometry(const QRect& available);

public slots:
    // Moves by `offset` unless maximized.
    void MoveWindow(QPoint offset);
    void minWindBase();
    void closeWindBase();
    void showMinResponse();
    void showMaxResponse();
    void languageChangedBaseResp();

protected:
    // A close from the window system (a window manager's close, a key) asks first too.
    void closeEvent(QCloseEvent* event) override;

private:
    void closeWhenWorkEnded();

    TitleBar* titleBar_;
    KVContentWidget* content_;
    MaximizeState maximizeState_;
    QTimer closeTimer_;
    bool closeConfirmed_ = false;
    bool asking_ = false;
};
