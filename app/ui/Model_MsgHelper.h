// Shows notices and the results of written files as pop-ups, one at a time; call from the GUI thread.
#pragma once

#include <QObject>
#include <QPointer>

#include "Widget_Popup.h"

class Model_MsgHelper : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultDurationMs = 3000;

    static Model_MsgHelper& instance();

    // A notice: the text alone.
    void showMessage(const QString& text, int durationMs = kDefaultDurationMs);
    // A result: kind 0 shows the text; kinds 1, 2 and 3 put their language text in front of it.
    void showResult(const QString& text, bool success, int durationMs = kDefaultDurationMs, int kind = 0);
    // The result of writing a file: the kind's text, the file as a link to its folder and, for a
    // picture, the picture itself.
    void showFileResult(const QString& filePath, bool success, int kind, int durationMs = kDefaultDurationMs);

    // The pop-up on screen, if any (for the program's tests and screenshots).
    Widget_Popup* currentPopup() const { return popup_; }

    // The language text that introduces a result of `kind`, or nothing for kind 0.
    static QString kindPrefix(int kind);

private:
    void show(const QString& message, PopupStyle style, const QString& filePath, int durationMs);

    QPointer<Widget_Popup> popup_;
};
