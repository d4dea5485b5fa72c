// A widget with a native X11 window of its own for a play instance to draw into. Qt may replace the
// native window (when the widget moves to another top-level window, for example); the bound instance
// is then given the new one, so pictures keep appearing.
#pragma once

#include <QWidget>

#include <cstdint>

#include "KVPlay.h"

class VideoWindow : public QWidget {
    Q_OBJECT

public:
    explicit VideoWindow(QWidget* parent = nullptr);

    // Hands the native window to the instance now and whenever Qt replaces it; null unbinds.
    void bindPlayer(void* player, const KVPlayPlayOptions& options);
    uintptr_t nativeWindow() const { return static_cast<uintptr_t>(winId()); }

signals:
    void nativeWindowChanged();

protected:
    bool event(QEvent* event) override;
    // The library draws into the window; Qt paints nothing there.
    QPaintEngine* paintEngine() const override { return nullptr; }

private:
    void handOver();

    void* player_ = nullptr;
    KVPlayPlayOptions options_{};
};
