// The base of dialog contents that end their frame with a result (see Dialog_Base).
#pragma once

#include <QWidget>

class Widget_DialogBase : public QWidget {
    Q_OBJECT

public:
    enum ResultType { Cancelled = -1, Confirmed = 0, ConfirmedWithValue = 1 };
    Q_ENUM(ResultType)

    using QWidget::QWidget;

signals:
    // With ConfirmedWithValue, `value` is what the dialog produced.
    void doneRequest(Widget_DialogBase::ResultType result, QObject* value);
    void doneClose(bool closeEnabled);
    void moveMainWindowRequest(QPoint offset);
    void setCloseBtnEnable(bool enabled);

protected:
    // A plain QWidget subclass draws no style-sheet background unless it paints one itself.
    void paintEvent(QPaintEvent* event) override;
};
